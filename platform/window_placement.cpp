#include "platform/window_placement.h"

#include <QtEndian>

QByteArray WindowPlacement::encode() const
{
    QByteArray bytes(EncodedSize, '\0');
    char *out = bytes.data();
    const quint32 fields[] = { flags,
                               showState,
                               quint32(minX),
                               quint32(minY),
                               quint32(maxX),
                               quint32(maxY),
                               quint32(normal.left),
                               quint32(normal.top),
                               quint32(normal.right),
                               quint32(normal.bottom) };
    for (quint32 field : fields) {
        qToLittleEndian<quint32>(field, out);
        out += 4;
    }
    return bytes;
}

std::optional<WindowPlacement> WindowPlacement::decode(const QByteArray &bytes)
{
    const char *in = bytes.constData();
    if (bytes.size() == EncodedSizeWithLength
        && qFromLittleEndian<quint32>(in) == quint32(EncodedSizeWithLength))
        in += 4;
    else if (bytes.size() != EncodedSize)
        return std::nullopt;

    auto next = [&in]() {
        const quint32 value = qFromLittleEndian<quint32>(in);
        in += 4;
        return value;
    };
    WindowPlacement placement;
    placement.flags = next();
    placement.showState = next();
    placement.minX = qint32(next());
    placement.minY = qint32(next());
    placement.maxX = qint32(next());
    placement.maxY = qint32(next());
    placement.normal.left = qint32(next());
    placement.normal.top = qint32(next());
    placement.normal.right = qint32(next());
    placement.normal.bottom = qint32(next());
    return placement;
}
