#include "exchange/sync_icons.h"

#include "widgets/shared_look.h"

#include <QPainter>
#include <QPainterPath>

namespace SyncIcons {

namespace {

QPixmap blank()
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

const QColor kOutline(40, 48, 60);
const QColor kScreen(170, 205, 240);

} // namespace

QPixmap desktop()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOutline, 1.5));
    // Monitor, screen, stand and keyboard.
    p.setBrush(QColor(220, 222, 226));
    p.drawRoundedRect(QRectF(3, 3, 26, 18), 2, 2);
    p.setBrush(kScreen);
    p.drawRect(QRectF(6, 6, 20, 12));
    p.setBrush(QColor(220, 222, 226));
    p.drawRect(QRectF(13, 21, 6, 3));
    p.drawRoundedRect(QRectF(5, 24.5, 22, 4.5), 1, 1);
    return pixmap;
}

QPixmap handheld()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOutline, 1.5));
    // Device body, screen, buttons.
    p.setBrush(QColor(90, 98, 112));
    p.drawRoundedRect(QRectF(8, 2, 16, 28), 3, 3);
    p.setBrush(kScreen);
    p.drawRect(QRectF(11, 5, 10, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 222, 226));
    p.drawEllipse(QPointF(16, 24.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 24.5), 1.2, 1.2);
    p.drawEllipse(QPointF(20.5, 24.5), 1.2, 1.2);
    return pixmap;
}

QPixmap arrow()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(SharedLook::accentColor());
    QPainterPath path;
    path.moveTo(3, 13);
    path.lineTo(18, 13);
    path.lineTo(18, 7);
    path.lineTo(29, 16);
    path.lineTo(18, 25);
    path.lineTo(18, 19);
    path.lineTo(3, 19);
    path.closeSubpath();
    p.drawPath(path);
    return pixmap;
}

QPixmap synchronizing()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent = SharedLook::accentColor();
    p.setPen(QPen(accent, 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(6, 6, 20, 20);
    p.drawArc(ring, 30 * 16, 130 * 16);
    p.drawArc(ring, 210 * 16, 130 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    // Arrow heads at the ends of the two arcs, pointing along the turn.
    QPainterPath heads;
    heads.moveTo(1, 13);
    heads.lineTo(11, 13);
    heads.lineTo(6, 19);
    heads.closeSubpath();
    heads.moveTo(31, 19);
    heads.lineTo(21, 19);
    heads.lineTo(26, 13);
    heads.closeSubpath();
    p.drawPath(heads);
    return pixmap;
}

} // namespace SyncIcons
