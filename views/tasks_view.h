#pragma once
// CTasksView: the general tasks and shopping items. Until its records arrive it is its title over
// an empty form.

#include "views/form_view.h"

class CTasksView : public CPendingView
{
    Q_OBJECT
public:
    explicit CTasksView(CMainFrame &frame, QWidget *parent = nullptr)
        : CPendingView(frame, QStringLiteral("Tasks (All)"), parent)
    {
    }

    void Refresh() { }
};
