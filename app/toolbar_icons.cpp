#include "app/toolbar_icons.h"

#include "app/command_ids.h"
#include "widgets/shared_look.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kWidth = 25;
constexpr int kHeight = 23;

void drawHouse(QPainter &p, const QRectF &box)
{
    QPainterPath roof;
    roof.moveTo(box.left(), box.top() + box.height() * 0.45);
    roof.lineTo(box.center().x(), box.top());
    roof.lineTo(box.right(), box.top() + box.height() * 0.45);
    p.drawPath(roof);
    const QRectF walls(box.left() + box.width() * 0.15, box.top() + box.height() * 0.42,
                       box.width() * 0.7, box.height() * 0.58);
    p.drawRect(walls);
    p.drawRect(QRectF(walls.center().x() - box.width() * 0.08,
                      walls.bottom() - walls.height() * 0.5, box.width() * 0.16,
                      walls.height() * 0.5));
}

QPixmap draw(int commandId)
{
    QPixmap pixmap(kWidth, kHeight);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent = SharedLook::accentColor();
    p.setPen(QPen(accent, 1.6));
    const QRectF box(3.5, 2.5, 18, 18);
    switch (commandId) {
    case Command::NewButton:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 12, 16));
        p.setPen(QPen(QColor(40, 140, 60), 2.2));
        p.drawLine(QPointF(17, 13), QPointF(17, 21));
        p.drawLine(QPointF(13, 17), QPointF(21, 17));
        break;
    case Command::TodayView:
        p.setBrush(QColor(250, 236, 200));
        drawHouse(p, box);
        break;
    case Command::TasksView:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 2.5, 16, 18));
        for (int i = 0; i < 3; ++i) {
            const qreal y = 7.5 + i * 5;
            p.drawLine(QPointF(7, y), QPointF(9, y + 2));
            p.drawLine(QPointF(9, y + 2), QPointF(12, y - 2));
            p.drawLine(QPointF(13.5, y), QPointF(18, y));
        }
        break;
    case Command::InventoryView:
        p.setBrush(QColor(226, 196, 150));
        p.drawRect(QRectF(3.5, 8.5, 18, 12));
        p.drawLine(QPointF(3.5, 8.5), QPointF(7.5, 3.5));
        p.drawLine(QPointF(21.5, 8.5), QPointF(17.5, 3.5));
        p.drawLine(QPointF(7.5, 3.5), QPointF(17.5, 3.5));
        p.drawLine(QPointF(10.5, 12.5), QPointF(14.5, 12.5));
        break;
    case Command::LocationsView:
        p.setBrush(QColor(250, 236, 200));
        p.drawRect(QRectF(3.5, 3.5, 18, 16));
        p.drawLine(QPointF(12.5, 3.5), QPointF(12.5, 19.5));
        p.drawLine(QPointF(3.5, 11.5), QPointF(12.5, 11.5));
        break;
    case Command::LoanManager: {
        QFont font = SharedLook::boldFont();
        font.setPixelSize(17);
        p.setFont(font);
        p.setPen(QColor(40, 120, 60));
        p.drawText(QRectF(0, 0, kWidth, kHeight), Qt::AlignCenter, QStringLiteral("$"));
        break;
    }
    case Command::Sync:
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 3.5, 16, 16), 30 * 16, 150 * 16);
        p.drawArc(QRectF(4.5, 3.5, 16, 16), 210 * 16, 150 * 16);
        p.setBrush(accent);
        p.drawPolygon(QPolygonF({ QPointF(19, 5), QPointF(21.5, 11), QPointF(15.5, 10) }));
        p.drawPolygon(QPolygonF({ QPointF(6, 18), QPointF(3.5, 12), QPointF(9.5, 13) }));
        break;
    default:
        return {};
    }
    return pixmap;
}

} // namespace

namespace ToolbarIcons {

QIcon icon(int commandId)
{
    const QPixmap pixmap = draw(commandId);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : { 16, 32, 48 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(SharedLook::accentColor(), size / 12.0));
        p.setBrush(QColor(250, 236, 200));
        const qreal m = size / 10.0;
        drawHouse(p, QRectF(m, m, size - 2 * m, size - 2 * m));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace ToolbarIcons
