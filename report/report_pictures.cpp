#include "report/report_pictures.h"

#include <QImageReader>
#include <QPainter>

namespace InventoryReport {
namespace {

constexpr qreal kPictureDpi = 150; // sharp in print at the size the picture is shown
constexpr int kLongestSide = 420; // pixels: a page-wide photo stays a few tens of kilobytes

} // namespace

QSize thumbnailPixels(const QSizeF &points)
{
    QSizeF pixels = points * kPictureDpi / 72.0;
    if (pixels.width() > kLongestSide || pixels.height() > kLongestSide)
        pixels.scale(kLongestSide, kLongestSide, Qt::KeepAspectRatio);
    return pixels.toSize().expandedTo(QSize(1, 1));
}

PictureQueue::PictureQueue(std::vector<Request> requests)
    : m_requests(std::move(requests))
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
            std::async(std::launch::async, thumbnail, request.path, request.pixels));
    }
}

QImage PictureQueue::next(const QString &path, const QSize &pixels)
{
    if (m_next >= m_requests.size() || m_requests[m_next].path != path
        || m_requests[m_next].pixels != pixels)
        return thumbnail(path, pixels);
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

} // namespace InventoryReport
