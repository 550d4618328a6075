#pragma once
// The report's body as a flow of horizontal slices, each one line of text (or a picture's
// share of a row) high, and its division into pages. A slice never straddles two pages, so no
// line is ever cut; a long note simply continues on the next page, under the heading of the
// table it belongs to.

#include <QRectF>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace InventoryReport {

enum FontRole : quint8 { Body, Bold, Small, SmallBold, Heading, Title, Subtitle, FontRoleCount };

struct Piece
{
    enum Kind : quint8 { Text, Rule, Shade, Picture };
    Kind kind = Text;
    FontRole font = Body;
    // Relative to the slice's top-left corner. Text: the baseline's start in topLeft; Rule: a line
    // along the top edge; Shade and Picture: the box.
    QRectF rect;
    QString text; // Text: the line; Picture: the picture file
    // Picture: an attachment kept in the data file, in place of a file.
    qint64 attachment = 0;
    // Picture: decoded for reading (a receipt on a page of its own), not as a thumbnail.
    bool detailed = false;
};

struct Slice
{
    qreal height = 0;
    // Goes on the same page as the slice after it (a heading and its first row, the lines
    // beside a picture).
    bool keepWithNext = false;
    // Starts a fresh page (the summary, the assets, each asset of a page-per-asset report).
    bool newPage = false;
    // When this slice opens a page that a table or an asset continues on, the slice of that
    // index in the continuation list ("Kitchen (continued)" and the column headings) goes first.
    int continuation = -1;
    std::vector<Piece> pieces;
};

struct PageSpan
{
    size_t first = 0;
    size_t end = 0;
    int continuation = -1;
};

// Divides slices into pages whose body is bodyHeight high. A page is never left empty: a slice
// taller than a whole page gets a page of its own.
std::vector<PageSpan> paginate(const std::vector<Slice> &slices,
                               const std::vector<Slice> &continuations, qreal bodyHeight);

} // namespace InventoryReport
