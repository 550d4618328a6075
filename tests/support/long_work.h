#pragma once
// While one lasts, every piece of labelled work counts as long: the program's progress window
// shows at once and repaints at every step, as it does after half a second of real work.

#include "platform/busy.h"
#include "widgets/busy_window.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

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

// While one lasts, the person presses the progress window's Cancel as soon as it is shown.
class CancelWhenShown
{
public:
    CancelWhenShown()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QProgressDialog *progress = Ui::busyWindow().dialog();
            if (progress && progress->isVisible()) {
                progress->findChild<QPushButton *>(QStringLiteral("busyCancel"))->click();
                m_pressed = true;
                m_timer.stop();
            }
        });
        m_timer.start();
    }
    bool pressed() const { return m_pressed; }

private:
    QTimer m_timer;
    bool m_pressed = false;
};
