#include "report/report_pictures.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>

namespace InventoryReport {

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
