#include "views/form_view.h"

#include "widgets/shared_look.h"
#include "controls/label.h"

#include <QContextMenuEvent>
#include <QPainter>

CFormView::CFormView(ViewHost &host, QWidget *parent)
    : QWidget(parent)
    , m_host(host)
{
}

CLabel *CFormView::makeTitle(const QString &text)
{
    auto *label = new CLabel(text, this);
    label->setObjectName(QStringLiteral("title"));
    label->SetTitleStyle();
    label->SetBkColor(SharedLook::backgroundBrush().color());
    label->setTextFormat(Qt::PlainText);
    return label;
}

void CFormView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), SharedLook::backgroundBrush());
}

void CFormView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Layout();
}

void CFormView::contextMenuEvent(QContextMenuEvent *event)
{
    m_host.ShowContextMenu(event->reason() == QContextMenuEvent::Keyboard
                                ? std::optional<QPoint>()
                                : std::optional<QPoint>(event->globalPos()));
}

void CFormView::fillWhenShown(std::function<void()> fill)
{
    if (isVisible()) {
        m_pendingFill = nullptr;
        m_filled = true;
        fill();
    } else {
        m_pendingFill = std::move(fill);
    }
}

void CFormView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_pendingFill) {
        // Taken out first: the fill may ask for another one.
        auto fill = std::move(m_pendingFill);
        m_pendingFill = nullptr;
        m_filled = true;
        fill();
    }
}
