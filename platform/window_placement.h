#pragma once
// The main window's placement as the settings keep it: the original platform's 40-byte
// placement record (without its leading length field), little-endian, so existing values and
// exported .reg files keep their meaning.

#include <QByteArray>
#include <QtGlobal>

#include <optional>

struct WindowPlacement
{
    // Show states, numbered as the original platform's show commands.
    static constexpr quint32 ShowNormal = 1;
    static constexpr quint32 ShowMinimized = 2;
    static constexpr quint32 ShowMaximized = 3;
    // Flag: a minimised window was maximised before, and comes back maximised.
    static constexpr quint32 RestoreToMaximized = 0x2;

    static constexpr int EncodedSize = 40;
    // The same record with its length field in front, as some writers store it.
    static constexpr int EncodedSizeWithLength = 44;

    struct Rect
    {
        qint32 left = 0;
        qint32 top = 0;
        qint32 right = 0;
        qint32 bottom = 0;
        bool operator==(const Rect &) const = default;
    };

    quint32 flags = 0;
    quint32 showState = ShowNormal;
    qint32 minX = -1;
    qint32 minY = -1;
    qint32 maxX = -1;
    qint32 maxY = -1;
    Rect normal;

    QByteArray encode() const;
    // Accepts exactly 40 bytes, or 44 whose first field is the length 44; anything else (a value
    // cut short, padded, or of another record) is refused rather than read as garbage.
    static std::optional<WindowPlacement> decode(const QByteArray &bytes);

    bool operator==(const WindowPlacement &) const = default;
};
