#pragma once
// The progress window of long work: a labelled Busy::Scope that lasts more than a moment shows
// a modal progress window over the active window, with a bar when the work knows its length and
// a busy indicator otherwise, and a Cancel button when the work may be stopped. The work runs
// on, on the one thread; the window is repainted from the work's own steps, and while it is up
// no input reaches any other window.

#include "platform/busy.h"

#include <QPointer>
#include <QProgressDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace Ui {

class BusyWindow final : public Busy::Window
{
public:
    BusyWindow() = default;
    ~BusyWindow() override;
    BusyWindow(const BusyWindow &) = delete;
    BusyWindow &operator=(const BusyWindow &) = delete;

    void show(const Busy::Work &work) override;
    bool update(const Busy::Work &work) override;
    void hide() override;

    // The window while it is up (tests look at it); nullptr otherwise.
    QProgressDialog *dialog() const { return m_dialog; }

private:
    void apply(const Busy::Work &work);

    QPointer<QProgressDialog> m_dialog;
    QLabel *m_label = nullptr;
    QProgressBar *m_bar = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_cancelAsked = false;
};

// The one the program installs with Busy::setWindow().
BusyWindow &busyWindow();

} // namespace Ui
