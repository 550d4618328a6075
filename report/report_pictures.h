#pragma once
// Pictures for the report: decoded straight to the size they are printed at, so a 3000 x 2000
// photo costs a thumbnail's memory and a thumbnail's bytes in the PDF, never the full image.
// A picture is a file, or an attachment kept in the data file, read piece by piece on a
// connection of the decoding thread's own.

#include <QImage>
#include <QSize>
#include <QString>

#include <deque>
#include <future>
#include <vector>

namespace InventoryReport {

// Where a picture comes from: a file, or an attachment in the data file.
struct PictureSource
{
    QString path;
    qint64 attachment = 0;

    bool isNull() const { return path.isEmpty() && attachment == 0; }
    bool operator==(const PictureSource &) const = default;
};

// The picture at path, no larger than maxPixels (its shape kept, never enlarged), opaque on
// white so that the PDF stores it compressed as JPEG. Null when the file is missing, is not a
// picture, or cannot be decoded within the reader's memory limit.
QImage thumbnail(const QString &path, const QSize &maxPixels);
// The same for either kind of source; dataFile is where attachments are read from.
QImage thumbnail(const PictureSource &source, const QString &dataFile, const QSize &maxPixels);

// The pixels a picture box of the given size (in points) is decoded to: enough for print, and
// never so many that a page of one large photo weighs more than a few tens of kilobytes.
QSize thumbnailPixels(const QSizeF &points);
// A picture meant to be read (a receipt, a page of its own): sharper, still bounded.
QSize detailedPixels(const QSizeF &points);

// The report's pictures, decoded on other threads a few ahead of the painter, in the order it
// asks for them: the painting waits less, and no more than kAhead thumbnails are ever held.
class PictureQueue
{
public:
    struct Request
    {
        PictureSource source;
        QSize pixels;
    };
    static constexpr size_t kAhead = 4;

    // dataFile: where the attachments among the pictures are read from.
    explicit PictureQueue(std::vector<Request> requests, const QString &dataFile = QString());
    // Waits for the decodes still running.
    ~PictureQueue();
    PictureQueue(const PictureQueue &) = delete;
    PictureQueue &operator=(const PictureQueue &) = delete;

    // The thumbnail of the next request; source and pixels must be those of that request (a
    // request out of turn is decoded on the spot).
    QImage next(const PictureSource &source, const QSize &pixels);

private:
    void startMore();

    std::vector<Request> m_requests;
    QString m_dataFile;
    size_t m_next = 0;
    size_t m_started = 0;
    std::deque<std::future<QImage>> m_running;
};

} // namespace InventoryReport
