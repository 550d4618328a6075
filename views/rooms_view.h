#pragma once
// CRoomsView: the locations of the current home. Until its records arrive it is its title over an
// empty form.

#include "views/form_view.h"

class CRoomsView : public CPendingView
{
    Q_OBJECT
public:
    explicit CRoomsView(ViewHost &host, QWidget *parent = nullptr)
        : CPendingView(host, QStringLiteral("Rooms & Locations"), parent)
    {
    }

    void Refresh(qint32) { }
};
