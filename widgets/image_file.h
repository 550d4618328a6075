#pragma once
// CImageFile: one picture file, decoded by Qt's image readers (BMP, GIF, JPEG, PNG...), drawn
// stretched into a rectangle.

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;
class QPainter;

class CImageFile
{
public:
    // Reads and decodes the file; false when it cannot be opened or decoded. A failed load keeps
    // nothing, not even an earlier picture.
    bool Load(const QString &path);
    // The same from a device holding the picture's bytes (an attachment in the data file).
    bool Load(QIODevice &device);
    bool IsLoaded() const { return !m_image.isNull(); }
    // The picture's size in device pixels; (0, 0) when nothing is loaded.
    QSize Size() const;
    // The whole picture stretched into the rectangle, aspect ratio not kept.
    void Draw(QPainter &painter, int left, int top, int right, int bottom) const;

private:
    QImage m_image;
};
