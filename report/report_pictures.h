#pragma once
// Pictures for the report: decoded straight to the size they are printed at, so a 3000 x 2000
// photo costs a thumbnail's memory and a thumbnail's bytes in the PDF, never the full image.

#include <QImage>
#include <QSize>
#include <QString>

namespace InventoryReport {

// The picture at path, no larger than maxPixels (its shape kept, never enlarged), opaque on
// white so that the PDF stores it compressed as JPEG. Null when the file is missing, is not a
// picture, or cannot be decoded within the reader's memory limit.
QImage thumbnail(const QString &path, const QSize &maxPixels);

} // namespace InventoryReport
