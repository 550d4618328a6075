#pragma once
// The two windows of the sync command: the modal Sync Direction dialog and the modeless
// progress window shown while the copy runs.

#include "exchange/sync_session.h"

#include <QDialog>

#include <functional>

class QRadioButton;

class CSyncDirectionDialog : public QDialog
{
    Q_OBJECT
public:
    // onFirstPaint runs once, just after the dialog has first been painted (the first-sync
    // advice is shown over the dialog, not before it).
    explicit CSyncDirectionDialog(QWidget *owner, std::function<void()> onFirstPaint = {});

    // Desktop to device unless the second choice was made; valid after OK.
    Sync::Direction direction() const { return m_direction; }

    void accept() override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRadioButton *m_toDevice = nullptr;
    QRadioButton *m_toDesktop = nullptr;
    Sync::Direction m_direction = Sync::Direction::DesktopToDevice;
    std::function<void()> m_onFirstPaint;
    bool m_painted = false;
};

// No buttons and no close box: the copy cannot be stopped halfway.
class CSyncProgressWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CSyncProgressWindow(QWidget *owner);

    // Shows the window and paints it at once: the copy that follows holds the event loop.
    void showNow();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
