#pragma once
// CInventoryView: the assets of the current home. Until its records arrive it is its title over an
// empty form.

#include "views/form_view.h"

class CInventoryView : public CPendingView
{
    Q_OBJECT
public:
    explicit CInventoryView(ViewHost &host, QWidget *parent = nullptr)
        : CPendingView(host, QStringLiteral("Home Inventory (All)"), parent)
    {
    }

    void Refresh(qint32) { }
};
