#include "widgets/image_file.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

bool CImageFile::Load(const QString &path)
{
    m_image = QImage();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return Load(file);
}

bool CImageFile::Load(QIODevice &device)
{
    m_image = QImage();
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    m_image = reader.read();
    return !m_image.isNull();
}

QSize CImageFile::Size() const
{
    return m_image.isNull() ? QSize(0, 0) : m_image.size();
}

void CImageFile::Draw(QPainter &painter, int left, int top, int right, int bottom) const
{
    if (m_image.isNull())
        return;
    painter.drawImage(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), m_image);
}
