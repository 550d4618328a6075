#include "report/qr_code.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace Qr {

Symbol encode(const QByteArray &text)
{
    Symbol symbol;
    if (text.isEmpty())
        return symbol;
    // Version 0: the smallest version that holds the text at level M.
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code || code->width <= 0)
        return symbol;
    symbol.version = code->version;
    symbol.size = code->width;
    symbol.dark.resize(size_t(code->width) * size_t(code->width));
    for (size_t i = 0; i < symbol.dark.size(); ++i)
        symbol.dark[i] = (code->data[i] & 1) != 0;
    return symbol;
}

void paint(QPainter &painter, const Symbol &symbol, const QRectF &square)
{
    if (symbol.isNull())
        return;
    const qreal module = square.width() / sideWithQuietZone(symbol);
    const QPointF origin = square.topLeft() + QPointF(kQuietZone * module, kQuietZone * module);
    std::vector<QRectF> runs;
    runs.reserve(size_t(symbol.size) * 4);
    for (int y = 0; y < symbol.size; ++y) {
        int x = 0;
        while (x < symbol.size) {
            if (!symbol.at(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < symbol.size && symbol.at(x, y))
                ++x;
            runs.emplace_back(origin.x() + start * module, origin.y() + y * module,
                              (x - start) * module, module);
        }
    }
    // One call: a PDF gets one path of rectangles filled at once, so that neighbouring runs
    // show no seams when the page is rasterised, in a quarter of the bytes a general path takes.
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(runs.data(), int(runs.size()));
    painter.restore();
}

} // namespace Qr
