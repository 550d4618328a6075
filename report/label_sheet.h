#pragma once
// Labels::Sheet: labels with a QR code, laid out on sheets of sticky labels (Avery and
// compatible sheets, or a custom one) or on a label printer's roll, painted onto any paged device
// (a PDF writer, a printer, the print preview). Positions are measured from the paper's edge, as
// the label makers give them, whatever margins the device keeps. QtGui only: tests paint it
// without a window.

#include <QByteArray>
#include <QPageLayout>
#include <QPageRanges>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QPagedPaintDevice;

namespace Labels {

// Told the share of the work done, in thousandths; returning false stops the work.
using Progress = std::function<bool(int permille)>;

// A sheet of labels, in millimetres from the paper's top-left corner.
struct Geometry
{
    QSizeF page;
    int rows = 1;
    int columns = 1;
    QSizeF label;
    qreal top = 0; // the paper's top edge to the first row
    qreal left = 0; // the paper's left edge to the first column
    qreal pitchX = 0; // one column's left edge to the next one's
    qreal pitchY = 0; // one row's top edge to the next one's

    int perPage() const { return rows * columns; }
    // The place of the index-th label of a page, row by row from the top left.
    QRectF cell(int index) const;
    bool operator==(const Geometry &) const = default;
};

enum class Sheet { Avery5160, Avery5163, AveryL7160, AveryL7163, Roll62, Custom };
inline constexpr Sheet kSheets[] = { Sheet::Avery5160,  Sheet::Avery5163, Sheet::AveryL7160,
                                     Sheet::AveryL7163, Sheet::Roll62,    Sheet::Custom };

// "Avery 5160 (Letter, 3 x 10)" and the like, for the dialog.
QString sheetName(Sheet sheet);
// The name the settings keep ("5160", "L7163", "Roll62", "Custom").
QString sheetKey(Sheet sheet);
std::optional<Sheet> sheetFromKey(const QString &key);
// The maker's geometry; for Custom, the layout a new custom sheet starts from.
Geometry presetGeometry(Sheet sheet);

// What keeps labels of this layout from being printed, in a sentence for the user; empty when
// every label lies on the page and none overlaps another.
QString problem(const Geometry &geometry);

// A layout as the settings keep it ("page=210x297 grid=7x3 label=63.5x38.1 top=15.15 ..."),
// and back; nothing when the text is not such a layout.
QString toText(const Geometry &geometry);
std::optional<Geometry> fromText(const QString &text);

// The paper, portrait, no margins: the label positions count from its edge. Letter and A4 keep
// their names, so that a printer takes paper from the right tray.
QPageLayout pageLayout(const Geometry &geometry);

// What one label shows.
struct Label
{
    QByteArray code; // the QR code's text
    QString title; // wraps onto a second line, then ends in "…"
    QString place; // the asset's location, a location's home
    QString number; // "Domelio #42"
};

// Where the parts of a label of the given size go, in millimetres from its top-left corner.
struct Parts
{
    QRectF code; // a square holding the QR code and its quiet zone
    QRectF text;
};
Parts partsOf(QSizeF label);

class Painter
{
public:
    // skip: labels of the first page left empty (a sheet used before); ownLine: a line of the
    // user's own under the others on every label, left out when empty.
    Painter(const Geometry &geometry, int skip, const QString &ownLine);

    // Paints labels onto device, as many pages as they take, or only the pages of chosen when
    // it names any (numbered from 1); painted counts the pages painted. The device is begun at
    // the first page to paint. False when progress asked to stop, the device could not be
    // painted on or no page of chosen holds labels; a PDF or print job is then to be thrown
    // away.
    bool paint(QPagedPaintDevice &device, const std::vector<Label> &labels,
               const Progress &progress = {}, const QPageRanges &chosen = {},
               int *painted = nullptr);

    // The pages count labels take with this painter's skip.
    int pagesFor(size_t count) const;

private:
    Geometry m_geometry;
    int m_skip = 0;
    QString m_ownLine;
};

} // namespace Labels
