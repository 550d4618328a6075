#include "report/report_builder.h"

#include "format/display_text.h"

#include <QPaintDevice>
#include <QTextLayout>

#include <algorithm>

namespace InventoryReport {
namespace {

// A row no taller than this share of a page is never divided between two pages.
constexpr qreal kKeepRowShare = 1.0 / 3.0;

struct FontStyle
{
    qreal points;
    bool bold;
};
constexpr FontStyle kFontStyles[FontRoleCount] = {
    { 9, false }, // Body
    { 9, true }, // Bold
    { 7.5, false }, // Small
    { 7.5, true }, // SmallBold
    { 13, true }, // Heading
    { 22, true }, // Title
    { 14, false }, // Subtitle
};

void chopTrailingSpace(QString &line)
{
    qsizetype end = line.size();
    while (end > 0 && line.at(end - 1).isSpace())
        --end;
    line.truncate(end);
}

} // namespace

SliceBuilder::SliceBuilder(QPaintDevice &device, const QLocale &locale, qreal width)
    : m_device(device)
    , m_locale(locale)
    , m_dpi(device.logicalDpiY())
    , m_width(width)
{
    m_metrics.reserve(FontRoleCount);
    for (int role = 0; role < FontRoleCount; ++role) {
        // DejaVu Sans where it is installed (it has Greek and Cyrillic); letters it lacks, such
        // as Japanese, come from the system's fallback fonts and are embedded in the PDF too.
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
        // No ligatures where a script does without them: "coffee" copied out of the PDF must
        // read "coffee", not "co\uFB00ee".
        font.setStyleStrategy(QFont::PreferNoShaping);
        font.setPointSizeF(kFontStyles[role].points);
        font.setBold(kFontStyles[role].bold);
        m_fonts[size_t(role)] = font;
        m_metrics.emplace_back(font, &device);
    }
}

QStringList SliceBuilder::wrap(const QString &text, FontRole role, qreal width) const
{
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normal.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QStringList lines;
    const QFontMetricsF &fm = metrics(role);
    for (const QString &paragraph : normal.split(QLatin1Char('\n'))) {
        if (fm.horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        QTextLayout layout(paragraph, font(role), &m_device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            chopTrailingSpace(piece);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}

QString SliceBuilder::money(double value) const
{
    return moneyText(value, m_locale);
}

QString SliceBuilder::date(const COleDateTime &value) const
{
    return dateText(value, false, m_locale);
}

Piece SliceBuilder::textPiece(const QString &text, FontRole role, qreal x, qreal baseline) const
{
    Piece piece;
    piece.kind = Piece::Text;
    piece.font = role;
    piece.rect = QRectF(x, baseline, 0, 0);
    piece.text = text;
    return piece;
}

void SliceBuilder::push(Slice slice)
{
    if (m_newPage) {
        slice.newPage = true;
        m_newPage = false;
    }
    slices.push_back(std::move(slice));
}

void SliceBuilder::startPage()
{
    m_newPage = true;
}

void SliceBuilder::addGap(qreal points)
{
    Slice gap;
    gap.height = pt(points);
    push(std::move(gap));
}

void SliceBuilder::addParagraph(const QString &text, FontRole role, qreal x, qreal width,
                                bool keepTogether, int continuation)
{
    const QStringList lines = wrap(text, role, width);
    const QFontMetricsF &fm = metrics(role);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        Slice slice;
        slice.height = fm.lineSpacing();
        slice.keepWithNext = keepTogether && i + 1 < lines.size();
        slice.continuation = continuation;
        slice.pieces.push_back(textPiece(lines[i], role, x, fm.ascent()));
        push(std::move(slice));
    }
}

Slice SliceBuilder::titleSlice(const QString &text, FontRole role) const
{
    Slice slice;
    const QFontMetricsF &fm = metrics(role);
    for (const QString &line : wrap(text, role, m_width)) {
        slice.pieces.push_back(textPiece(line, role, 0, slice.height + fm.ascent()));
        slice.height += fm.lineSpacing();
    }
    slice.height += pt(4);
    return slice;
}

void SliceBuilder::addPicture(const QString &path, QSizeF box, qint64 attachment)
{
    box = box.boundedTo(QSizeF(m_width, m_bodyHeight / 2));
    Slice slice;
    slice.height = box.height() + pt(4);
    Piece picture;
    picture.kind = Piece::Picture;
    picture.rect = QRectF(QPointF((m_width - box.width()) / 2, 0), box);
    picture.text = path;
    picture.attachment = attachment;
    slice.pieces.push_back(picture);
    push(std::move(slice));
}

std::vector<Slice> SliceBuilder::photoStrip(const std::vector<qint64> &photos, qreal x, qreal width,
                                            QSizeF box) const
{
    const qreal gap = pt(4);
    const int perRow = std::max(1, int((width + gap) / (box.width() + gap)));
    std::vector<Slice> rows;
    for (size_t i = 0; i < photos.size(); ++i) {
        if (i % size_t(perRow) == 0) {
            Slice row;
            row.height = box.height() + gap;
            rows.push_back(std::move(row));
        }
        Piece picture;
        picture.kind = Piece::Picture;
        picture.rect = QRectF(QPointF(x + qreal(i % size_t(perRow)) * (box.width() + gap), 0), box);
        picture.attachment = photos[i];
        rows.back().pieces.push_back(picture);
    }
    return rows;
}

int SliceBuilder::addContinuation(std::vector<Slice> parts)
{
    Slice stacked;
    for (Slice &part : parts) {
        for (Piece &piece : part.pieces) {
            piece.rect.translate(0, stacked.height);
            stacked.pieces.push_back(std::move(piece));
        }
        stacked.height += part.height;
    }
    continuations.push_back(std::move(stacked));
    return int(continuations.size()) - 1;
}

Slice SliceBuilder::headingRow(const std::vector<Column> &columns) const
{
    const qreal pad = pt(kCellPadding);
    const QFontMetricsF &fm = metrics(SmallBold);
    Slice slice;
    qreal lines = 1;
    for (const Column &column : columns) {
        const QStringList titles = wrap(column.title, SmallBold, column.width - 2 * pad);
        for (qsizetype i = 0; i < titles.size(); ++i) {
            const qreal x = column.right
                ? column.x + column.width - pad - fm.horizontalAdvance(titles[i])
                : column.x + pad;
            slice.pieces.push_back(
                textPiece(titles[i], SmallBold, x, pad + i * fm.lineSpacing() + fm.ascent()));
        }
        lines = std::max(lines, qreal(titles.size()));
    }
    slice.height = lines * fm.lineSpacing() + 2 * pad;
    Piece shade;
    shade.kind = Piece::Shade;
    shade.rect = QRectF(0, 0, m_width, slice.height);
    slice.pieces.insert(slice.pieces.begin(), shade);
    return slice;
}

void SliceBuilder::addRow(const std::vector<Column> &columns, const std::vector<Cell> &cells,
                          const Cell &spanning, const std::optional<RowPicture> &picture,
                          int continuation, bool total, const std::vector<qint64> &photos)
{
    const qreal pad = pt(kCellPadding);
    struct Line
    {
        QString text;
        FontRole font;
        bool right;
    };
    std::vector<std::vector<Line>> columnLines(columns.size());
    size_t lineCount = 0;
    for (size_t c = 0; c < columns.size() && c < cells.size(); ++c) {
        for (const Para &para : cells[c]) {
            if (para.text.isEmpty())
                continue;
            for (const QString &line : wrap(para.text, para.font, columns[c].width - 2 * pad))
                columnLines[c].push_back({ line, para.font, para.right || columns[c].right });
        }
        lineCount = std::max(lineCount, columnLines[c].size());
    }

    std::vector<Slice> row;
    for (size_t i = 0; i < lineCount; ++i) {
        Slice slice;
        qreal ascent = 0;
        for (const auto &lines : columnLines) {
            if (i < lines.size()) {
                ascent = std::max(ascent, metrics(lines[i].font).ascent());
                slice.height = std::max(slice.height, metrics(lines[i].font).lineSpacing());
            }
        }
        for (size_t c = 0; c < columns.size(); ++c) {
            if (i >= columnLines[c].size())
                continue;
            const Line &line = columnLines[c][i];
            const qreal x = line.right ? columns[c].x + columns[c].width - pad
                    - metrics(line.font).horizontalAdvance(line.text)
                                       : columns[c].x + pad;
            slice.pieces.push_back(textPiece(line.text, line.font, x, ascent));
        }
        row.push_back(std::move(slice));
    }

    // The notes run under the text columns, across all of them.
    const auto firstText = std::find_if(columns.begin(), columns.end(),
                                        [](const Column &column) { return !column.picture; });
    const qreal spanX = firstText == columns.end() ? 0 : firstText->x;
    for (const Para &para : spanning) {
        const QFontMetricsF &fm = metrics(para.font);
        for (const QString &line : wrap(para.text, para.font, m_width - spanX - 2 * pad)) {
            Slice slice;
            slice.height = fm.lineSpacing();
            slice.pieces.push_back(textPiece(line, para.font, spanX + pad, fm.ascent()));
            row.push_back(std::move(slice));
        }
    }
    if (!photos.empty()) {
        const qreal box = pt(48);
        for (Slice &strip :
             photoStrip(photos, spanX + pad, m_width - spanX - 2 * pad, QSizeF(box, box * 0.75))) {
            // Room above the first row of thumbnails, so that they clear the text.
            if (row.empty() || row.back().pieces.empty()
                || row.back().pieces.front().kind != Piece::Picture) {
                for (Piece &piece : strip.pieces)
                    piece.rect.translate(0, pad);
                strip.height += pad;
            }
            row.push_back(std::move(strip));
        }
    }
    if (row.empty())
        row.emplace_back().height = metrics(Body).lineSpacing();

    // Room around the text, and for the picture beside it.
    for (Piece &piece : row.front().pieces)
        piece.rect.translate(0, pad);
    row.front().height += pad;
    qreal height = 0;
    for (const Slice &slice : row)
        height += slice.height;
    const qreal pictureHeight = picture ? picture->box.height() + 2 * pad : 0;
    if (height + pad < pictureHeight)
        row.back().height += pictureHeight - height - pad;
    row.back().height += pad;
    height = std::max(height + pad, pictureHeight);

    if (picture) {
        Piece box;
        box.kind = Piece::Picture;
        const auto column = std::find_if(columns.begin(), columns.end(),
                                         [](const Column &each) { return each.picture; });
        const qreal x = column == columns.end() ? 0 : column->x + pad;
        box.rect = QRectF(QPointF(x, pad), picture->box);
        box.text = picture->path;
        box.attachment = picture->attachment;
        row.front().pieces.push_back(box);
    }

    Piece rule;
    rule.kind = Piece::Rule;
    if (total) {
        rule.rect = QRectF(0, 0, m_width, pt(1));
        row.front().pieces.push_back(rule);
    }
    rule.rect = QRectF(0, row.back().height, m_width, 0);
    row.back().pieces.push_back(rule);

    // A short row stays whole; a long one (pages of notes) keeps at least the lines beside its
    // picture, and its first two lines, together.
    const bool whole = height <= m_bodyHeight * kKeepRowShare;
    qreal top = 0;
    for (size_t i = 0; i + 1 < row.size(); ++i) {
        top += row[i].height;
        row[i].keepWithNext = whole || i == 0 || top < pictureHeight;
    }
    for (Slice &slice : row) {
        slice.continuation = continuation;
        push(std::move(slice));
    }
}

bool SliceBuilder::build(const Contents &contents, const std::function<bool(double)> &progress)
{
    slices.clear();
    continuations.clear();
    cover(contents);
    if (contents.assets.empty())
        return true;
    summary(contents);
    const bool built = contents.options.pagePerAsset ? assetPages(contents, progress)
                                                     : assetTable(contents, progress);
    if (built && contents.options.receipts)
        receiptPages(contents);
    return built;
}

} // namespace InventoryReport
