#include "report/label_sheet.h"

#include "format/display_text.h"
#include "report/qr_code.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace Labels {
namespace {

constexpr qreal kInch = 25.4;
// Smaller labels leave a QR code too small for a handheld scanner to read reliably.
constexpr qreal kSmallestLabel = 12.7;
// Room for rounding when labels end exactly at the page's edge.
constexpr qreal kTolerance = 0.05;
// Points: smaller type is hard to read on a label held at arm's length.
constexpr qreal kSmallestType = 5.0;
constexpr qreal kLargestType = 14.0;

// The maker's published layouts. The US sheets are given in inches; the A4 ones are centred on
// the page from their published pitches, so both margins are equal.
Geometry inches(qreal pageW, qreal pageH, int rows, int columns, qreal labelW, qreal labelH,
                qreal top, qreal left, qreal pitchX, qreal pitchY)
{
    return { QSizeF(pageW * kInch, pageH * kInch),
             rows,
             columns,
             QSizeF(labelW * kInch, labelH * kInch),
             top * kInch,
             left * kInch,
             pitchX * kInch,
             pitchY * kInch };
}

const QSizeF kA4(210, 297);

QString millimetres(qreal value, const QLocale &locale)
{
    return locale.toString(value, 'f', 1) + QStringLiteral(" mm");
}

void chopTrailingSpace(QString &line)
{
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace())
        --end;
    line.truncate(end);
}

// One line: tabs and line breaks become blanks, as a label has no room for them.
QString flattened(const QString &text)
{
    QString flat = text;
    for (QChar &c : flat) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return flat.simplified();
}

QFont labelFont(qreal points, bool bold)
{
    // DejaVu Sans where it is installed; letters it lacks (Chinese, Japanese...) come from the
    // system's fallback fonts, embedded in the PDF like the rest.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The type sizes and the lines every label of one sheet uses, chosen once for its label size.
struct TextStyle
{
    QFont title;
    QFont body;
    QFont own;
    QFontMetricsF titleMetrics;
    QFontMetricsF bodyMetrics;
    QFontMetricsF ownMetrics;
    int titleLines = 2;
    bool place = true;
    // The user's own line, made smaller where it is too long (a telephone number cut off helps
    // nobody), and shortened only when even the smallest type is too wide.
    QString ownLine;

    TextStyle(QPaintDevice &device, QSizeF box, const QString &wantedOwnLine)
        : titleMetrics(QFont(), &device)
        , bodyMetrics(QFont(), &device)
        , ownMetrics(QFont(), &device)
        , ownLine(wantedOwnLine)
    {
        // Points that fit: the largest size (at most 14 pt, and about 18 letters across) at
        // which two title lines, the place, the number and the own line fit the height.
        const qreal pointsPerUnit = 72.0 / device.logicalDpiY();
        const qreal widthPoints = box.width() * pointsPerUnit;
        qreal points =
            std::clamp(std::floor(widthPoints / 11.0 * 2) / 2, kSmallestType, kLargestType);
        for (;; points -= 0.5) {
            setSizes(device, points, box.width());
            if (height() <= box.height() || points <= kSmallestType)
                break;
        }
        // Still too tall at the smallest size: the least needed lines go first.
        if (height() > box.height())
            titleLines = 1;
        if (height() > box.height())
            place = false;
        if (height() > box.height())
            ownLine.clear();
        ownLine = ownMetrics.elidedText(ownLine, Qt::ElideRight, box.width());
    }

    void setSizes(QPaintDevice &device, qreal points, qreal width)
    {
        title = labelFont(points, true);
        body = labelFont(std::max(kSmallestType, points * 0.85), false);
        titleMetrics = QFontMetricsF(title, &device);
        bodyMetrics = QFontMetricsF(body, &device);
        own = body;
        ownMetrics = bodyMetrics;
        for (qreal size = body.pointSizeF();
             size > kSmallestType && ownMetrics.horizontalAdvance(ownLine) > width;) {
            size = std::max(kSmallestType, size - 0.25);
            own = labelFont(size, false);
            ownMetrics = QFontMetricsF(own, &device);
        }
    }

    // The height of the lines every label reserves.
    qreal height() const
    {
        const int bodyLines = 1 + int(place);
        return titleLines * titleMetrics.height() + bodyLines * bodyMetrics.height()
            + (ownLine.isEmpty() ? 0 : ownMetrics.height());
    }
};

// The title on at most lines lines no wider than width; what does not fit ends in "…".
QStringList titleLines(const QString &title, const QFont &font, const QFontMetricsF &metrics,
                       QPaintDevice &device, qreal width, int lines)
{
    const QString text = flattened(title);
    if (metrics.horizontalAdvance(text) <= width)
        return { text };
    if (lines < 2)
        return { metrics.elidedText(text, Qt::ElideRight, width) };
    QTextLayout layout(text, font, &device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    first.setLineWidth(width);
    const int end = first.textStart() + first.textLength();
    layout.endLayout();
    QString head = text.left(end);
    chopTrailingSpace(head);
    const QString rest = text.mid(end).trimmed();
    if (rest.isEmpty())
        return { head };
    return { head, metrics.elidedText(rest, Qt::ElideRight, width) };
}

} // namespace

QRectF Geometry::cell(int index) const
{
    const int columnCount = std::max(1, columns);
    const int row = index / columnCount;
    const int column = index % columnCount;
    return QRectF(left + column * pitchX, top + row * pitchY, label.width(), label.height());
}

QString sheetName(Sheet sheet)
{
    switch (sheet) {
    case Sheet::Avery5160:
        return QStringLiteral("Avery 5160 (Letter, 3 \u00d7 10, 2\u215d \u00d7 1 in)");
    case Sheet::Avery5163:
        return QStringLiteral("Avery 5163 (Letter, 2 \u00d7 5, 4 \u00d7 2 in)");
    case Sheet::AveryL7160:
        return QStringLiteral("Avery L7160 (A4, 3 \u00d7 7, 63.5 \u00d7 38.1 mm)");
    case Sheet::AveryL7163:
        return QStringLiteral("Avery L7163 (A4, 2 \u00d7 7, 99.1 \u00d7 38.1 mm)");
    case Sheet::Roll62:
        return QStringLiteral("Label printer, 62 mm roll (62 \u00d7 29 mm)");
    case Sheet::Custom:
        break;
    }
    return QStringLiteral("Custom");
}

QString sheetKey(Sheet sheet)
{
    switch (sheet) {
    case Sheet::Avery5160:
        return QStringLiteral("5160");
    case Sheet::Avery5163:
        return QStringLiteral("5163");
    case Sheet::AveryL7160:
        return QStringLiteral("L7160");
    case Sheet::AveryL7163:
        return QStringLiteral("L7163");
    case Sheet::Roll62:
        return QStringLiteral("Roll62");
    case Sheet::Custom:
        break;
    }
    return QStringLiteral("Custom");
}

std::optional<Sheet> sheetFromKey(const QString &key)
{
    for (Sheet sheet : kSheets) {
        if (sheetKey(sheet) == key)
            return sheet;
    }
    return std::nullopt;
}

Geometry presetGeometry(Sheet sheet)
{
    switch (sheet) {
    case Sheet::Avery5160:
        // 2 5/8 x 1 in; top margin 1/2 in, side margins 3/16 in, pitch 2 3/4 x 1 in.
        return inches(8.5, 11, 10, 3, 2.625, 1, 0.5, 0.1875, 2.75, 1);
    case Sheet::Avery5163:
        // 4 x 2 in; top margin 1/2 in, side margins 5/32 in, pitch 4 3/16 x 2 in.
        return inches(8.5, 11, 5, 2, 4, 2, 0.5, 0.15625, 4.1875, 2);
    case Sheet::AveryL7160:
        // 63.5 x 38.1 mm; pitch 66.0 x 38.1 mm: margins 15.15 mm top, 7.25 mm at the sides.
        return { kA4, 7, 3, QSizeF(63.5, 38.1), 15.15, 7.25, 66.0, 38.1 };
    case Sheet::AveryL7163:
        // 99.1 x 38.1 mm; pitch 101.6 x 38.1 mm: margins 15.15 mm top, 4.65 mm at the sides.
        return { kA4, 7, 2, QSizeF(99.1, 38.1), 15.15, 4.65, 101.6, 38.1 };
    case Sheet::Roll62:
        // Continuous 62 mm tape cut after each label: the page is the label.
        return { QSizeF(62, 29), 1, 1, QSizeF(62, 29), 0, 0, 62, 29 };
    case Sheet::Custom:
        break;
    }
    return presetGeometry(Sheet::AveryL7160);
}

QString problem(const Geometry &g)
{
    const QLocale &locale = userLocale();
    if (g.rows < 1 || g.columns < 1)
        return QStringLiteral("A sheet needs at least one row and one column of labels.");
    if (g.page.width() <= 0 || g.page.height() <= 0)
        return QStringLiteral("Please enter the width and the height of the page.");
    if (g.label.width() < kSmallestLabel - kTolerance
        || g.label.height() < kSmallestLabel - kTolerance)
        return QStringLiteral("Labels must be at least 12.7 mm (\u00bd in) wide and high, or "
                              "their QR codes are too small to scan.");
    if (g.top < 0 || g.left < 0)
        return QStringLiteral("The margins cannot be less than nothing.");
    if (g.columns > 1 && g.pitchX < g.label.width() - kTolerance)
        return QStringLiteral("The labels overlap: the horizontal pitch (%1) is less than the "
                              "width of a label (%2).")
            .arg(millimetres(g.pitchX, locale), millimetres(g.label.width(), locale));
    if (g.rows > 1 && g.pitchY < g.label.height() - kTolerance)
        return QStringLiteral("The labels overlap: the vertical pitch (%1) is less than the "
                              "height of a label (%2).")
            .arg(millimetres(g.pitchY, locale), millimetres(g.label.height(), locale));
    const QRectF last = g.cell(g.perPage() - 1);
    if (last.right() > g.page.width() + kTolerance)
        return QStringLiteral("The labels do not fit across the page: the last column ends at "
                              "%1 from the left edge, past the page's width of %2.")
            .arg(millimetres(last.right(), locale), millimetres(g.page.width(), locale));
    if (last.bottom() > g.page.height() + kTolerance)
        return QStringLiteral("The labels do not fit down the page: the last row ends at %1 "
                              "from the top edge, past the page's height of %2.")
            .arg(millimetres(last.bottom(), locale), millimetres(g.page.height(), locale));
    return {};
}

QString toText(const Geometry &g)
{
    const QLocale c = QLocale::c();
    auto number = [&](qreal value) {
        return c.toString(value, 'g', QLocale::FloatingPointShortest);
    };
    return QStringLiteral("page=%1x%2 grid=%3x%4 label=%5x%6 top=%7 left=%8 pitch=%9x%10")
        .arg(number(g.page.width()), number(g.page.height()), QString::number(g.rows),
             QString::number(g.columns), number(g.label.width()), number(g.label.height()),
             number(g.top), number(g.left), number(g.pitchX))
        .arg(number(g.pitchY));
}

std::optional<Geometry> fromText(const QString &text)
{
    const QLocale c = QLocale::c();
    Geometry g;
    int found = 0;
    auto pair = [&](const QString &value, qreal &a, qreal &b) {
        const QStringList parts = value.split(QLatin1Char('x'));
        bool ok1 = false;
        bool ok2 = false;
        if (parts.size() == 2) {
            a = c.toDouble(parts[0], &ok1);
            b = c.toDouble(parts[1], &ok2);
        }
        return ok1 && ok2 && std::isfinite(a) && std::isfinite(b);
    };
    for (const QString &item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = item.left(equals);
        const QString value = item.mid(equals + 1);
        qreal a = 0;
        qreal b = 0;
        bool ok = false;
        if (key == QLatin1String("page") && (ok = pair(value, a, b)))
            g.page = QSizeF(a, b);
        else if (key == QLatin1String("grid") && (ok = pair(value, a, b))) {
            ok = a >= 0 && b >= 0 && a <= 1000 && b <= 1000;
            g.rows = int(a);
            g.columns = int(b);
        } else if (key == QLatin1String("label") && (ok = pair(value, a, b)))
            g.label = QSizeF(a, b);
        else if (key == QLatin1String("top"))
            g.top = c.toDouble(value, &ok);
        else if (key == QLatin1String("left"))
            g.left = c.toDouble(value, &ok);
        else if (key == QLatin1String("pitch") && (ok = pair(value, a, b))) {
            g.pitchX = a;
            g.pitchY = b;
        } else
            continue;
        if (!ok)
            return std::nullopt;
        ++found;
    }
    if (found != 6)
        return std::nullopt;
    return g;
}

QPageLayout pageLayout(const Geometry &geometry)
{
    QPageSize size(geometry.page, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    for (QPageSize::PageSizeId id : { QPageSize::Letter, QPageSize::A4 }) {
        const QSizeF standard = QPageSize::size(id, QPageSize::Millimeter);
        if (std::abs(standard.width() - geometry.page.width()) < 0.1
            && std::abs(standard.height() - geometry.page.height()) < 0.1)
            size = QPageSize(id);
    }
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

Parts partsOf(QSizeF label)
{
    const qreal w = label.width();
    const qreal h = label.height();
    // The code's quiet zone is white already; the square only keeps clear of the cut.
    constexpr qreal kInset = 0.5;
    constexpr qreal kLargestCode = 40;
    const qreal pad = std::clamp(h * 0.06, 1.5, 3.0);
    Parts parts;
    if (w >= 1.5 * h) {
        // Wide labels: the code on the left, as high as the label, the text beside it.
        const qreal side = std::min({ h - 2 * kInset, w * 0.45, kLargestCode });
        parts.code = QRectF(kInset, (h - side) / 2, side, side);
        const qreal x = parts.code.right() + kInset;
        parts.text = QRectF(x, pad, std::max(0.0, w - pad - x), std::max(0.0, h - 2 * pad));
    } else {
        // Narrow or square ones: the code at the top, the text below it.
        const qreal side = std::min({ w - 2 * kInset, h * 0.55, kLargestCode });
        parts.code = QRectF((w - side) / 2, kInset, side, side);
        const qreal y = parts.code.bottom();
        parts.text = QRectF(pad, y, std::max(0.0, w - 2 * pad), std::max(0.0, h - pad - y));
    }
    return parts;
}

Painter::Painter(const Geometry &geometry, int skip, const QString &ownLine)
    : m_geometry(geometry)
    , m_skip(std::clamp(skip, 0, std::max(0, geometry.perPage() - 1)))
    , m_ownLine(flattened(ownLine))
{
}

int Painter::pagesFor(size_t count) const
{
    if (count == 0)
        return 0;
    const size_t perPage = size_t(std::max(1, m_geometry.perPage()));
    return int((size_t(m_skip) + count + perPage - 1) / perPage);
}

bool Painter::paint(QPagedPaintDevice &device, const std::vector<Label> &labels,
                    const Progress &progress, const QPageRanges &chosen, int *painted)
{
    if (painted)
        *painted = 0;
    // Millimetres from the paper's edge to device units from the painter's origin, which sits
    // at the corner of the printable area.
    const qreal unitX = device.logicalDpiX() / kInch;
    const qreal unitY = device.logicalDpiY() / kInch;
    const QPointF origin = device.pageLayout().paintRect(QPageLayout::Millimeter).topLeft();
    auto onDevice = [&](const QRectF &mm) {
        return QRectF((mm.x() - origin.x()) * unitX, (mm.y() - origin.y()) * unitY,
                      mm.width() * unitX, mm.height() * unitY);
    };

    const Parts parts = partsOf(m_geometry.label);
    const QSizeF textSize(parts.text.width() * unitX, parts.text.height() * unitY);
    const TextStyle style(device, textSize, m_ownLine);

    const size_t perPage = size_t(std::max(1, m_geometry.perPage()));
    QPainter painter;
    int pageOnDevice = 0; // the page being painted, from 1; 0 before the first
    bool ok = true;
    for (size_t i = 0; i < labels.size() && ok; ++i) {
        const bool last = i + 1 == labels.size();
        const auto tell = [&] {
            if (progress && (i % 32 == 31 || last)
                && !progress(int(1000 * double(i + 1) / double(labels.size()))))
                ok = false;
        };
        const size_t position = size_t(m_skip) + i;
        const int page = int(position / perPage) + 1;
        if (!chosen.isEmpty() && !chosen.contains(page)) {
            tell();
            continue;
        }
        if (page != pageOnDevice) {
            // Only now does the device start its job (a print job, a file).
            if (pageOnDevice == 0 ? !painter.begin(&device) : !device.newPage()) {
                ok = false;
                break;
            }
            pageOnDevice = page;
            if (painted)
                ++*painted;
        }
        const int slot = int(position % perPage);
        const Label &label = labels[i];
        const QRectF cell = m_geometry.cell(slot);
        Qr::paint(painter, Qr::encode(label.code), onDevice(parts.code.translated(cell.topLeft())));

        const QRectF text = onDevice(parts.text.translated(cell.topLeft()));
        const QStringList title = titleLines(label.title, style.title, style.titleMetrics, device,
                                             text.width(), style.titleLines);
        QStringList body;
        if (style.place && !label.place.isEmpty())
            body << style.bodyMetrics.elidedText(flattened(label.place), Qt::ElideRight,
                                                 text.width());
        body << style.bodyMetrics.elidedText(label.number, Qt::ElideRight, text.width());
        // The lines this label has, in the middle of its text box.
        const qreal used = title.size() * style.titleMetrics.height()
            + body.size() * style.bodyMetrics.height()
            + (style.ownLine.isEmpty() ? 0 : style.ownMetrics.height());
        qreal y = text.top() + std::max(0.0, (text.height() - used) / 2);
        painter.setPen(Qt::black);
        painter.setFont(style.title);
        for (const QString &line : title) {
            painter.drawText(QPointF(text.left(), y + style.titleMetrics.ascent()), line);
            y += style.titleMetrics.height();
        }
        painter.setFont(style.body);
        for (const QString &line : body) {
            painter.drawText(QPointF(text.left(), y + style.bodyMetrics.ascent()), line);
            y += style.bodyMetrics.height();
        }
        if (!style.ownLine.isEmpty()) {
            painter.setFont(style.own);
            painter.drawText(QPointF(text.left(), y + style.ownMetrics.ascent()), style.ownLine);
        }
        tell();
    }
    if (pageOnDevice == 0) {
        // Nothing to paint: an empty list makes one blank page, a choice of pages none.
        return ok && labels.empty() && chosen.isEmpty() && painter.begin(&device) && painter.end();
    }
    return painter.end() && ok;
}

} // namespace Labels
