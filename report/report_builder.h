#pragma once
// Turns the report's contents into slices for one device: the text wrapped with that device's
// font metrics, the tables ruled, the places of the pictures reserved. Nothing is painted and no
// picture is read here; PageLayout paints what this builds.

#include "report/report_contents.h"
#include "report/report_flow.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QPaintDevice;

namespace InventoryReport {

class SliceBuilder
{
public:
    // width: the page's body in device units; its height follows once the header is known.
    SliceBuilder(QPaintDevice &device, const QLocale &locale, qreal width);
    void setBodyHeight(qreal height) { m_bodyHeight = height; }

    // Builds the whole report; progress is asked (with the share of the assets done) whether to
    // go on, and false stops the building.
    bool build(const Contents &contents, const std::function<bool(double)> &progress);

    const QFont &font(FontRole role) const { return m_fonts[role]; }
    const QFontMetricsF &metrics(FontRole role) const { return m_metrics[role]; }
    // Device units in a length given in points.
    qreal pt(qreal points) const { return points * m_dpi / 72.0; }
    // The text broken into lines no wider than width; a line break in the text always breaks.
    QStringList wrap(const QString &text, FontRole role, qreal width) const;

    std::vector<Slice> slices;
    std::vector<Slice> continuations;

private:
    struct Para
    {
        QString text;
        FontRole font = Body;
        bool right = false;
    };
    using Cell = std::vector<Para>;
    struct Column
    {
        qreal x = 0;
        qreal width = 0;
        QString title;
        bool right = false;
        bool picture = false; // the column of the pictures: no text of its own
    };
    struct RowPicture
    {
        QString path;
        QSizeF box;
        qint64 attachment = 0; // in place of path
    };

    void cover(const Contents &contents);
    void summary(const Contents &contents);
    bool assetTable(const Contents &contents, const std::function<bool(double)> &progress);
    bool assetPages(const Contents &contents, const std::function<bool(double)> &progress);
    // A page for each receipt kept as a picture, in the order of the assets.
    void receiptPages(const Contents &contents);

    std::vector<Column> assetColumns(const Contents &contents) const;
    // The width of a column whose cells hold texts, in role: the widest, with the cells'
    // padding, and never less than least (points).
    qreal fitting(const QStringList &texts, FontRole role, qreal least) const;
    std::vector<Cell> assetCells(const Asset &asset, Grouping grouping) const;
    std::vector<std::pair<QString, QString>> assetFields(const Asset &asset) const;
    // "Photo: front.jpg, back.jpg; Receipt: till.pdf", by kind; empty without attachments.
    static QString attachmentList(const Asset &asset);
    // The photos printed as thumbnails: pictures of kind Photo, other than the asset's picture.
    static std::vector<qint64> photosOf(const Asset &asset);
    // Rows of thumbnails of the given attachments, boxes of box points, from x across width.
    std::vector<Slice> photoStrip(const std::vector<qint64> &photos, qreal x, qreal width,
                                  QSizeF box) const;

    // Lines of free text across the given width.
    void addParagraph(const QString &text, FontRole role, qreal x, qreal width,
                      bool keepTogether = false, int continuation = -1);
    // One row of a table: each cell's paragraphs wrapped in its column, line beside line, then
    // the spanning paragraphs (notes) across from the first text column; a picture in the first
    // column; a rule below.
    // photos: thumbnails in rows under the spanning paragraphs.
    void addRow(const std::vector<Column> &columns, const std::vector<Cell> &cells,
                const Cell &spanning = {}, const std::optional<RowPicture> &picture = {},
                int continuation = -1, bool total = false, const std::vector<qint64> &photos = {});
    // The shaded line of column titles.
    Slice headingRow(const std::vector<Column> &columns) const;
    Slice titleSlice(const QString &text, FontRole role) const;
    void addPicture(const QString &path, QSizeF box, qint64 attachment = 0);
    void addGap(qreal points);
    int addContinuation(std::vector<Slice> parts);
    void startPage();
    void push(Slice slice);
    Piece textPiece(const QString &text, FontRole role, qreal x, qreal baseline) const;

    // Points around the text of a table cell.
    static constexpr qreal kCellPadding = 2.5;

    QString money(double value) const;
    QString date(const COleDateTime &value) const;

    QPaintDevice &m_device;
    QLocale m_locale;
    qreal m_dpi = 72;
    qreal m_width = 0;
    qreal m_bodyHeight = 0;
    std::array<QFont, FontRoleCount> m_fonts;
    std::vector<QFontMetricsF> m_metrics;
    bool m_newPage = false;
    bool m_pictureColumn = false; // the asset table has a column of pictures
};

} // namespace InventoryReport
