#include "report/report_pictures.h"

#include "records/attachment_store.h"

#include <QImageReader>
#include <QPainter>

namespace InventoryReport {
namespace {

constexpr qreal kPictureDpi = 150; // sharp in print at the size the picture is shown
constexpr int kLongestSide = 420; // pixels: a page-wide photo stays a few tens of kilobytes
constexpr int kDetailedSide = 1600; // pixels: a till receipt's small print stays readable

QSize boundedPixels(const QSizeF &points, int longest)
{
    QSizeF pixels = points * kPictureDpi / 72.0;
    if (pixels.width() > longest || pixels.height() > longest)
        pixels.scale(longest, longest, Qt::KeepAspectRatio);
    return pixels.toSize().expandedTo(QSize(1, 1));
}

QImage decode(QImageReader &reader, const QSize &maxPixels);

} // namespace

QSize thumbnailPixels(const QSizeF &points)
{
    return boundedPixels(points, kLongestSide);
}

QSize detailedPixels(const QSizeF &points)
{
    return boundedPixels(points, kDetailedSide);
}

PictureQueue::PictureQueue(std::vector<Request> requests, const QString &dataFile)
    : m_requests(std::move(requests))
    , m_dataFile(dataFile)
{
    startMore();
}

PictureQueue::~PictureQueue()
{
    for (std::future<QImage> &running : m_running)
        running.wait();
}

void PictureQueue::startMore()
{
    while (m_running.size() < kAhead && m_started < m_requests.size()) {
        const Request &request = m_requests[m_started++];
        m_running.push_back(
            std::async(std::launch::async,
                       [source = request.source, dataFile = m_dataFile, pixels = request.pixels] {
                           return thumbnail(source, dataFile, pixels);
                       }));
    }
}

QImage PictureQueue::next(const PictureSource &source, const QSize &pixels)
{
    if (m_next >= m_requests.size() || !(m_requests[m_next].source == source)
        || m_requests[m_next].pixels != pixels)
        return thumbnail(source, m_dataFile, pixels);
    ++m_next;
    QImage image = m_running.front().get();
    m_running.pop_front();
    startMore();
    return image;
}

QImage thumbnail(const QString &path, const QSize &maxPixels)
{
    if (path.isEmpty() || maxPixels.isEmpty())
        return {};
    QImageReader reader(path);
    return decode(reader, maxPixels);
}

QImage thumbnail(const PictureSource &source, const QString &dataFile, const QSize &maxPixels)
{
    if (source.attachment == 0)
        return thumbnail(source.path, maxPixels);
    if (dataFile.isEmpty() || maxPixels.isEmpty())
        return {};
    const std::unique_ptr<Attachments::Reader> bytes =
        Attachments::Reader::openOwnConnection(dataFile, source.attachment);
    if (!bytes)
        return {};
    QImageReader reader(bytes.get());
    return decode(reader, maxPixels);
}

namespace {

QImage decode(QImageReader &reader, const QSize &maxPixels)
{
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && !size.isEmpty()) {
        // The scaled size applies before the photo is turned upright.
        const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
        const QSize box = turned ? maxPixels.transposed() : maxPixels;
        if (size.width() > box.width() || size.height() > box.height()) {
            size.scale(box, Qt::KeepAspectRatio);
            reader.setScaledSize(size.expandedTo(QSize(1, 1)));
        }
    }
    QImage image = reader.read();
    if (image.isNull())
        return {};
    // A reader that cannot decode at a smaller size hands over the whole picture; that copy is
    // dropped as soon as it is scaled.
    if (image.width() > maxPixels.width() || image.height() > maxPixels.height())
        image = image.scaled(maxPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (image.hasAlphaChannel()) {
        QImage opaque(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
        painter.end();
        return opaque;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

} // namespace InventoryReport
