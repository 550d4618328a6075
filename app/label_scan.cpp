#include "app/label_scan.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace LabelScan {
namespace {

// More than any label's code: "DOMELIO:L:" and two ten-digit ids.
constexpr qsizetype kLongest = 64;

// A control that takes typed text, where a scanner's keys are the user's text.
bool takesText(const QWidget &widget)
{
    return widget.testAttribute(Qt::WA_InputMethodEnabled);
}

} // namespace

Keys::Keys(QWidget &window, std::function<bool(const QString &)> open)
    : QObject(&window)
    , m_window(window)
    , m_open(std::move(open))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool Keys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    if (event == m_lastEvent && m_lastReceiver && m_lastReceiver != widget
        && widget->isAncestorOf(m_lastReceiver))
        return false;
    m_lastEvent = event;
    m_lastReceiver = widget;
    if (takesText(*widget)) {
        m_typed.clear();
        return false;
    }

    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        const QString typed = m_typed;
        m_typed.clear();
        return !typed.isEmpty() && !(key->modifiers() & commands) && m_open(typed);
    }
    const QString text = key->text();
    if (text.isEmpty() && !(key->modifiers() & commands))
        return false; // Shift or another modifier on its own
    bool printable = !text.isEmpty() && !(key->modifiers() & commands);
    for (QChar c : text)
        printable = printable && c.isPrint();
    if (!printable) {
        m_typed.clear();
        return false;
    }
    m_typed += text;
    if (m_typed.size() > kLongest)
        m_typed = m_typed.right(kLongest);
    return false;
}

} // namespace LabelScan
