#pragma once
// QR codes for the labels: encoded by libqrencode at error correction level M and painted as
// vector squares, so that they stay sharp at any printer's resolution and a PDF holds a few
// rectangles per code instead of an image.

#include <QByteArray>
#include <QRectF>

#include <vector>

class QPainter;

namespace Qr {

// The modules of one symbol, without its quiet zone; row by row, true for dark.
struct Symbol
{
    int version = 0;
    int size = 0; // modules per side
    std::vector<bool> dark;

    bool isNull() const { return size == 0; }
    bool at(int x, int y) const { return dark[size_t(y) * size_t(size) + size_t(x)]; }
};

// The white border the standard asks for around a symbol, in modules.
constexpr int kQuietZone = 4;

// Encodes text (digits, capitals and the colon take the compact alphanumeric mode); a null
// symbol when it cannot be encoded.
Symbol encode(const QByteArray &text);

// Modules per side with the quiet zone on both sides.
inline int sideWithQuietZone(const Symbol &symbol)
{
    return symbol.size + 2 * kQuietZone;
}

// Paints symbol into square, which holds the quiet zone as well: the zone is left unpainted
// (the label is white), the dark modules are filled in black, each run of them in a row as one
// rectangle.
void paint(QPainter &painter, const Symbol &symbol, const QRectF &square);

} // namespace Qr
