#include "views/form_view.h"

#include "controls/label.h"
#include "widgets/shared_look.h"

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

CLabel *CFormView::makeCornerIcon(const QString &objectName, const QString &accessibleName,
                                  const QString &toolTip)
{
    static const QPixmap pixmap = [] {
        // A round tab whose visible quarter carries three stacked bars: a menu.
        QPixmap tab(kCornerSize, kCornerSize);
        tab.fill(Qt::transparent);
        QPainter p(&tab);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(SharedLook::accentColor());
        p.drawEllipse(QRectF(0, 0, kCornerSize, kCornerSize));
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(19, 19 + i * 3.5, 8 - i * 2, 2));
        return tab;
    }();
    auto *corner = new CLabel(this);
    corner->setObjectName(objectName);
    corner->SetBkColor(SharedLook::backgroundBrush().color());
    corner->setPixmap(pixmap);
    corner->setAccessibleName(accessibleName);
    corner->setToolTip(toolTip);
    corner->setCursor(Qt::PointingHandCursor);
    placeCorner(*corner);
    return corner;
}

void CFormView::placeCorner(CLabel &corner)
{
    corner.setGeometry(kCornerOffset, kCornerOffset, kCornerSize, kCornerSize);
    corner.raise();
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
