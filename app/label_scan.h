#pragma once
// LabelScan::Keys: what a barcode scanner types into the main window. A USB or Bluetooth scanner
// is a keyboard: it types the label's code and Enter. Typed into a text box, the keys are that
// box's (the Home Inventory's search box knows codes itself); typed anywhere else in the window
// (a list, a view, no focus at all), they are collected here, and an Enter after a label's code
// opens what the label is on instead of reaching the focused control. The keys before it still
// reach their control: they cannot be told from typing until the code is whole.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace LabelScan {

class Keys : public QObject
{
    Q_OBJECT
public:
    // open is handed the collected text when Enter ends it, and says whether it was a code it
    // has dealt with. Watches every key of the application for those of window.
    Keys(QWidget &window, std::function<bool(const QString &)> open);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    std::function<bool(const QString &)> m_open;
    QString m_typed;
    // The last key event seen, and the widget it was first sent to: a key the widget leaves
    // goes on to its parents as the same event, and is counted once.
    const QEvent *m_lastEvent = nullptr;
    QPointer<QWidget> m_lastReceiver;
};

} // namespace LabelScan
