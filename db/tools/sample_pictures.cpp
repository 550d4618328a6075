#include "db/tools/sample_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace SamplePictures {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 320;

void sky(QPainter &p, const QColor &top, const QColor &bottom, int horizon)
{
    QLinearGradient gradient(0, 0, 0, horizon);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(QRect(0, 0, kWidth, horizon), gradient);
}

void pine(QPainter &p, qreal x, qreal base, qreal height, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5b, 0x3a, 0x24));
    p.drawRect(QRectF(x - 4, base - height * 0.15, 8, height * 0.15));
    p.setBrush(colour);
    for (int tier = 0; tier < 3; ++tier) {
        const qreal top = base - height + tier * height * 0.22;
        const qreal half = height * (0.18 + tier * 0.07);
        p.drawPolygon(QPolygonF({ QPointF(x, top), QPointF(x + half, top + height * 0.45),
                                  QPointF(x - half, top + height * 0.45) }));
    }
}

void window(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(QColor(0x9f, 0xc9, 0xde));
    p.drawRect(r);
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
}

void mapleStreet(QPainter &p)
{
    sky(p, QColor(0x6c, 0xa8, 0xe0), QColor(0xd8, 0xec, 0xf8), 230);
    p.fillRect(QRect(0, 230, kWidth, 90), QColor(0x6d, 0xa3, 0x4d));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0xc8, 0xa9)); // the path to the door
    p.drawPolygon(
        QPolygonF({ QPointF(228, 320), QPointF(252, 320), QPointF(246, 248), QPointF(234, 248) }));
    p.setBrush(QColor(0xf2, 0xe6, 0xc9));
    p.drawRect(QRectF(120, 130, 240, 118));
    p.setBrush(QColor(0x8e, 0x3b, 0x2e));
    p.drawPolygon(QPolygonF({ QPointF(100, 134), QPointF(240, 50), QPointF(380, 134) }));
    p.drawRect(QRectF(310, 62, 22, 50)); // chimney
    p.setBrush(QColor(0x2f, 0x4f, 0x6f));
    p.drawRect(QRectF(222, 178, 36, 70));
    window(p, QRectF(146, 160, 48, 40));
    window(p, QRectF(286, 160, 48, 40));
    window(p, QRectF(224, 96, 32, 26));
    p.setPen(Qt::NoPen);
    // A maple beside the house.
    p.setBrush(QColor(0x5b, 0x3a, 0x24));
    p.drawRect(QRectF(405, 170, 12, 70));
    p.setBrush(QColor(0xc8, 0x5a, 0x28));
    p.drawEllipse(QPointF(411, 150), 44, 40);
    p.setBrush(QColor(0xe0, 0x84, 0x2f));
    p.drawEllipse(QPointF(396, 132), 26, 22);
    // Hedge.
    p.setBrush(QColor(0x3f, 0x75, 0x35));
    for (int x = 20; x < 110; x += 22)
        p.drawEllipse(QPointF(x, 244), 16, 12);
}

void lakesideCabin(QPainter &p)
{
    sky(p, QColor(0xf3, 0x9c, 0x6b), QColor(0xfb, 0xe3, 0xb8), 190);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf1, 0xc1));
    p.drawEllipse(QPointF(360, 120), 30, 30); // the evening sun
    QLinearGradient water(0, 190, 0, 320);
    water.setColorAt(0, QColor(0x4f, 0x7f, 0xa8));
    water.setColorAt(1, QColor(0x23, 0x44, 0x66));
    p.fillRect(QRect(0, 190, kWidth, 130), water);
    p.setBrush(QColor(0x7a, 0x8b, 0x4f)); // the shore
    p.drawPolygon(
        QPolygonF({ QPointF(0, 175), QPointF(300, 190), QPointF(260, 250), QPointF(0, 260) }));
    for (int i = 0; i < 4; ++i)
        pine(p, 20 + i * 28, 200 - i * 3, 110 + (i % 2) * 30, QColor(0x2e, 0x55, 0x3a));
    p.setBrush(QColor(0x8a, 0x5a, 0x34)); // log walls
    p.drawRect(QRectF(130, 150, 130, 70));
    p.setPen(QPen(QColor(0x6b, 0x43, 0x26), 2));
    for (int y = 160; y < 220; y += 10)
        p.drawLine(130, y, 260, y);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4a, 0x4a, 0x52));
    p.drawPolygon(QPolygonF({ QPointF(118, 154), QPointF(195, 104), QPointF(272, 154) }));
    p.setBrush(QColor(0x3b, 0x26, 0x18));
    p.drawRect(QRectF(182, 180, 26, 40));
    p.setBrush(QColor(0xff, 0xd7, 0x7a)); // lit windows
    p.drawRect(QRectF(146, 172, 24, 20));
    p.drawRect(QRectF(222, 172, 24, 20));
    p.setBrush(QColor(0x7b, 0x5b, 0x3c)); // the dock
    p.drawRect(QRectF(240, 226, 150, 8));
    p.setBrush(QColor(0xff, 0xe9, 0xb0));
    for (int i = 0; i < 5; ++i) // the sun's path on the water
        p.drawRect(QRectF(330 + (i % 2) * 12, 200 + i * 18, 60 - i * 8, 3));
}

void piano(QPainter &p)
{
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(0xe9, 0xe1, 0xd3));
    p.fillRect(QRect(0, 260, kWidth, 60), QColor(0x9c, 0x6b, 0x43));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x1b, 0x14));
    p.drawRect(QRectF(90, 60, 300, 150));
    p.drawRect(QRectF(100, 200, 16, 70));
    p.drawRect(QRectF(364, 200, 16, 70));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(80, 186, 320, 28));
    p.setBrush(Qt::black);
    for (int k = 0; k < 22; ++k) {
        if (k % 7 != 2 && k % 7 != 6)
            p.drawRect(QRectF(92 + k * 14.5, 186, 8, 16));
    }
    p.setBrush(QColor(0xd4, 0xaf, 0x37)); // candle holders
    p.drawEllipse(QPointF(120, 90), 8, 8);
    p.drawEllipse(QPointF(360, 90), 8, 8);
}

void painting(QPainter &p)
{
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(0x7d, 0x8f, 0x7a));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb0, 0x86, 0x3b));
    p.drawRect(QRectF(60, 30, 360, 260)); // the frame
    const QRectF canvas(80, 50, 320, 220);
    QLinearGradient air(0, canvas.top(), 0, canvas.top() + 130);
    air.setColorAt(0, QColor(0x8e, 0xb8, 0xd8));
    air.setColorAt(1, QColor(0xf4, 0xdc, 0xb4));
    p.fillRect(QRectF(canvas.left(), canvas.top(), canvas.width(), 130), air);
    p.fillRect(QRectF(canvas.left(), canvas.top() + 130, canvas.width(), 90),
               QColor(0x2f, 0x5d, 0x7e));
    p.setBrush(QColor(0xf6, 0xc1, 0x5a));
    p.drawEllipse(QPointF(320, 150), 22, 22);
    p.setBrush(QColor(0x5e, 0x4b, 0x3c)); // the harbour wall
    p.drawRect(QRectF(canvas.left(), 170, 110, 14));
    p.setBrush(QColor(0xf4, 0xf1, 0xe8)); // a sail
    p.drawPolygon(QPolygonF({ QPointF(220, 120), QPointF(220, 200), QPointF(262, 200) }));
    p.setBrush(QColor(0x8b, 0x2e, 0x24));
    p.drawPolygon(
        QPolygonF({ QPointF(196, 204), QPointF(280, 204), QPointF(266, 218), QPointF(206, 218) }));
}

void bicycle(QPainter &p)
{
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(0xdc, 0xe6, 0xee));
    p.fillRect(QRect(0, 262, kWidth, 58), QColor(0xa8, 0xa8, 0xa0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 10));
    p.drawEllipse(QPointF(130, 200), 62, 62);
    p.drawEllipse(QPointF(350, 200), 62, 62);
    p.setPen(QPen(QColor(0x1f, 0x6f, 0xb5), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF rear(130, 200), front(350, 200), crank(230, 205), seat(205, 110), head(325, 108);
    p.drawPolyline(QPolygonF({ rear, crank, seat, rear }));
    p.drawPolyline(QPolygonF({ seat, head, crank }));
    p.drawLine(head, front);
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(190, 102), QPointF(222, 102)); // saddle
    p.drawLine(QPointF(318, 92), QPointF(346, 84)); // handlebar
}

void television(QPainter &p)
{
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(0xef, 0xe9, 0xdf));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6e, 0x4e, 0x37));
    p.drawRect(QRectF(60, 250, 360, 40)); // the cabinet
    p.setBrush(QColor(0x1c, 0x1c, 0x1e));
    p.drawRoundedRect(QRectF(70, 40, 340, 200), 8, 8);
    QLinearGradient screen(0, 52, 0, 228);
    screen.setColorAt(0, QColor(0x3a, 0x7b, 0xc8));
    screen.setColorAt(1, QColor(0x9e, 0xd0, 0x8f));
    p.setBrush(screen);
    p.drawRect(QRectF(82, 52, 316, 176));
    p.save();
    p.setClipRect(QRectF(82, 52, 316, 176));
    p.setBrush(QColor(0x2f, 0x6b, 0x3a)); // hills on the screen
    p.drawEllipse(QPointF(160, 240), 120, 60);
    p.drawEllipse(QPointF(330, 250), 130, 70);
    p.restore();
    p.setBrush(QColor(0x1c, 0x1c, 0x1e));
    p.drawRect(QRectF(225, 240, 30, 12));
}

void armchair(QPainter &p)
{
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(0xf3, 0xee, 0xe4));
    p.fillRect(QRect(0, 270, kWidth, 50), QColor(0xb8, 0x8a, 0x5e));
    p.setPen(Qt::NoPen);
    const QColor fabric(0x3f, 0x6e, 0x5c);
    p.setBrush(fabric.darker(115));
    p.drawRoundedRect(QRectF(150, 50, 180, 170), 30, 30); // back
    p.setBrush(fabric);
    p.drawRoundedRect(QRectF(110, 130, 60, 120), 22, 22); // arms
    p.drawRoundedRect(QRectF(310, 130, 60, 120), 22, 22);
    p.setBrush(fabric.lighter(115));
    p.drawRoundedRect(QRectF(160, 170, 160, 60), 16, 16); // cushion
    p.setBrush(QColor(0x4a, 0x33, 0x22));
    p.drawRect(QRectF(130, 250, 12, 24));
    p.drawRect(QRectF(338, 250, 12, 24));
}

void lamp(QPainter &p)
{
    QRadialGradient glow(QPointF(240, 110), 200);
    glow.setColorAt(0, QColor(0xff, 0xf3, 0xc8));
    glow.setColorAt(1, QColor(0x4a, 0x4a, 0x5a));
    p.fillRect(QRect(0, 0, kWidth, kHeight), glow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8f, 0x7a, 0x3a));
    p.drawRect(QRectF(234, 130, 12, 150)); // stem
    p.drawEllipse(QPointF(240, 286), 60, 14); // foot
    p.setBrush(QColor(0xf6, 0xe7, 0xc1));
    p.drawPolygon(
        QPolygonF({ QPointF(180, 50), QPointF(300, 50), QPointF(340, 140), QPointF(140, 140) }));
}

} // namespace

QImage draw(Picture picture)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case MapleStreet:
        mapleStreet(p);
        break;
    case LakesideCabin:
        lakesideCabin(p);
        break;
    case Piano:
        piano(p);
        break;
    case Painting:
        painting(p);
        break;
    case Bicycle:
        bicycle(p);
        break;
    case Television:
        television(p);
        break;
    case Armchair:
        armchair(p);
        break;
    case Lamp:
        lamp(p);
        break;
    }
    return image;
}

} // namespace SamplePictures
