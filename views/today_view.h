#pragma once
// CTodayView: the current home at a glance. For now it shows the home's name as its title and
// opens the Home Profile from it; the picture, equity and the other lines come with their
// records.

#include "views/form_view.h"

class CTodayView : public CPendingView
{
    Q_OBJECT
public:
    explicit CTodayView(ViewHost &host, QWidget *parent = nullptr);

    // The three per-home updates the frame runs when the current home changes, in this order:
    // UpdateLines, LoadPicture, ComputeEquity.
    void UpdateLines();
    void LoadPicture() { }
    void ComputeEquity() { }

    // The current home's Home Profile at page 0 or 1; on OK the view, the window title and the
    // Homes view follow the edit. Returns whether it was confirmed.
    bool EditHome(int page);
};
