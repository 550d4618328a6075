#pragma once
// While one lasts, every piece of labelled work counts as long: the program's progress window
// shows at once and repaints at every step, as it does after half a second of real work.

#include "platform/busy.h"
#include "widgets/busy_window.h"

class EveryWorkIsLong
{
public:
    EveryWorkIsLong()
    {
        Busy::setWindow(&Ui::busyWindow());
        Busy::setTiming(0, 0);
    }
    ~EveryWorkIsLong()
    {
        Busy::setWindow(nullptr);
        Busy::setTiming(500, 100);
    }
    EveryWorkIsLong(const EveryWorkIsLong &) = delete;
    EveryWorkIsLong &operator=(const EveryWorkIsLong &) = delete;
};
