// make-icons: draws the program's icon, a house with a coin on a teal tile, as the scalable SVG
// and as PNGs for each size of the hicolor theme. One description of the shapes serves both,
// so the pictures cannot drift apart; small sizes leave out details that would only blur.
//
//   make-icons OUTDIR NAME    writes OUTDIR/hicolor/{scalable,NxN}/apps/NAME.{svg,png}

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QTextStream>

#include <cstdio>
#include <vector>

namespace {

constexpr qreal kGrid = 256; // the drawing's own units
const int kSizes[] = { 16, 22, 24, 32, 48, 64, 128, 256 };

struct Shape
{
    enum Kind { Tile, Rect, Polygon, Circle };
    Kind kind;
    std::vector<QPointF> points; // Rect/Tile: two corners; Polygon: the corners; Circle: centre
    qreal radius; // Tile, Rect: corner radius; Circle: the radius
    QColor fill;
    QColor stroke; // invalid: none
    qreal strokeWidth;
    int minSize; // drawn only at this many pixels and more
};

const QColor kTileTop(0x3d, 0x8f, 0xa3);
const QColor kTileBottom(0x1d, 0x55, 0x66);

std::vector<Shape> shapes()
{
    return {
        { Shape::Tile, { { 16, 16 }, { 240, 240 } }, 44, kTileTop, {}, 0, 0 },
        { Shape::Rect, { { 160, 64 }, { 184, 112 } }, 0, QColor(0x9c, 0x3c, 0x2b), {}, 0, 24 },
        { Shape::Rect, { { 66, 118 }, { 190, 208 } }, 0, QColor(0xf6, 0xec, 0xd9), {}, 0, 0 },
        { Shape::Polygon,
          { { 44, 128 }, { 128, 50 }, { 212, 128 } },
          0,
          QColor(0xd0, 0x58, 0x3f),
          QColor(0xa8, 0x41, 0x2e),
          6,
          0 },
        { Shape::Rect, { { 112, 150 }, { 144, 208 } }, 4, QColor(0x7a, 0x4a, 0x2c), {}, 0, 0 },
        { Shape::Rect, { { 80, 140 }, { 102, 162 } }, 2, QColor(0xa9, 0xdc, 0xef), {}, 0, 32 },
        { Shape::Rect, { { 154, 140 }, { 176, 162 } }, 2, QColor(0xa9, 0xdc, 0xef), {}, 0, 32 },
        { Shape::Circle,
          { { 194, 190 } },
          36,
          QColor(0xf2, 0xc1, 0x4e),
          QColor(0xb8, 0x89, 0x2a),
          7,
          22 },
        { Shape::Circle,
          { { 194, 190 } },
          20,
          QColor(0xf7, 0xd7, 0x7f),
          QColor(0xb8, 0x89, 0x2a),
          4,
          48 },
    };
}

QRectF rectOf(const Shape &shape)
{
    return QRectF(shape.points[0], shape.points[1]);
}

void paint(QPainter &painter, int size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    for (const Shape &shape : shapes()) {
        if (size < shape.minSize)
            continue;
        if (shape.kind == Shape::Tile) {
            QLinearGradient gradient(0, 16, 0, 240);
            gradient.setColorAt(0, kTileTop);
            gradient.setColorAt(1, kTileBottom);
            painter.setBrush(gradient);
        } else {
            painter.setBrush(shape.fill);
        }
        if (shape.stroke.isValid())
            painter.setPen(
                QPen(shape.stroke, shape.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            painter.setPen(Qt::NoPen);
        switch (shape.kind) {
        case Shape::Tile:
        case Shape::Rect:
            painter.drawRoundedRect(rectOf(shape), shape.radius, shape.radius);
            break;
        case Shape::Polygon:
            painter.drawPolygon(
                QPolygonF(QList<QPointF>(shape.points.begin(), shape.points.end())));
            break;
        case Shape::Circle:
            painter.drawEllipse(shape.points[0], shape.radius, shape.radius);
            break;
        }
    }
}

QString svg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
           "viewBox=\"0 0 256 256\">\n"
        << "  <title>Domelio</title>\n"
        << "  <defs>\n"
        << "    <linearGradient id=\"tile\" x1=\"0\" y1=\"16\" x2=\"0\" y2=\"240\" "
           "gradientUnits=\"userSpaceOnUse\">\n"
        << "      <stop offset=\"0\" stop-color=\"" << kTileTop.name() << "\"/>\n"
        << "      <stop offset=\"1\" stop-color=\"" << kTileBottom.name() << "\"/>\n"
        << "    </linearGradient>\n"
        << "  </defs>\n";
    for (const Shape &shape : shapes()) {
        QString paint = shape.kind == Shape::Tile
            ? QStringLiteral("fill=\"url(#tile)\"")
            : QStringLiteral("fill=\"%1\"").arg(shape.fill.name());
        if (shape.stroke.isValid())
            paint += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                         .arg(shape.stroke.name())
                         .arg(shape.strokeWidth);
        switch (shape.kind) {
        case Shape::Tile:
        case Shape::Rect: {
            const QRectF r = rectOf(shape);
            out << "  <rect x=\"" << r.x() << "\" y=\"" << r.y() << "\" width=\"" << r.width()
                << "\" height=\"" << r.height() << "\" rx=\"" << shape.radius << "\" " << paint
                << "/>\n";
            break;
        }
        case Shape::Polygon: {
            QStringList corners;
            for (const QPointF &p : shape.points)
                corners << QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
            out << "  <polygon points=\"" << corners.join(QLatin1Char(' ')) << "\" " << paint
                << "/>\n";
            break;
        }
        case Shape::Circle:
            out << "  <circle cx=\"" << shape.points[0].x() << "\" cy=\"" << shape.points[0].y()
                << "\" r=\"" << shape.radius << "\" " << paint << "/>\n";
            break;
        }
    }
    out << "</svg>\n";
    return text;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs no screen; the offscreen platform keeps this working on build machines.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fputs("usage: make-icons OUTDIR NAME\n", stderr);
        return 2;
    }
    const QString root = args[1] + QStringLiteral("/hicolor/");
    const QString name = args[2];
    if (!writeFile(root + QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg"),
                   svg().toUtf8()))
        return 1;
    for (const int size : kSizes) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(painter, size);
        painter.end();
        const QString path =
            root + QStringLiteral("%1x%1/apps/").arg(size) + name + QStringLiteral(".png");
        QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
