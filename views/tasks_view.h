#pragma once
// CTasksView: the general tasks and shopping items. Until its records arrive it is its title over
// an empty form.

#include "views/form_view.h"

class CTasksView : public CPendingView
{
    Q_OBJECT
public:
    explicit CTasksView(ViewHost &host, QWidget *parent = nullptr)
        : CPendingView(host, QStringLiteral("Tasks (All)"), parent)
    {
    }

    void Refresh() { }
};
