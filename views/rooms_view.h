#pragma once
// CRoomsView: the locations of the current home. Until its records arrive it is its title over an
// empty form.

#include "views/form_view.h"

class CRoomsView : public CPendingView
{
    Q_OBJECT
public:
    explicit CRoomsView(CMainFrame &frame, QWidget *parent = nullptr)
        : CPendingView(frame, QStringLiteral("Rooms & Locations"), parent)
    {
    }

    void Refresh(qint32) { }
};
