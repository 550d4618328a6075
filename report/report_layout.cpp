#include "report/report_layout.h"

#include "report/report_builder.h"
#include "report/report_pictures.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace InventoryReport {
namespace {

constexpr qreal kMarginMillimetres = 15;
// The share of the progress that laying out takes; painting takes the rest.
constexpr int kLayoutShare = 300;

const QColor kAccent(55, 96, 157);
const QColor kRuleColor(160, 160, 160);
const QColor kShadeColor(234, 239, 244);

PictureSource sourceOf(const Piece &piece)
{
    return PictureSource { piece.attachment != 0 ? QString() : piece.text, piece.attachment };
}

QSize pixelsFor(const Piece &piece, const SliceBuilder &builder)
{
    const QSizeF points = piece.rect.size() / builder.pt(1);
    return piece.detailed ? detailedPixels(points) : thumbnailPixels(points);
}

class PagePainter
{
public:
    PagePainter(QPainter &painter, const SliceBuilder &builder, PictureQueue &pictures)
        : m_painter(painter)
        , m_builder(builder)
        , m_pictures(pictures)
    {
    }

    void paint(const Slice &slice, qreal top)
    {
        for (const Piece &piece : slice.pieces) {
            switch (piece.kind) {
            case Piece::Text:
                m_painter.setFont(m_builder.font(piece.font));
                m_painter.setPen(piece.font == Heading || piece.font == Title
                                         || piece.font == Subtitle
                                     ? kAccent
                                     : Qt::black);
                m_painter.drawText(QPointF(piece.rect.x(), top + piece.rect.y()), piece.text);
                break;
            case Piece::Rule:
                m_painter.setPen(QPen(
                    kRuleColor, piece.rect.height() > 0 ? piece.rect.height() : m_builder.pt(0.5)));
                m_painter.drawLine(QPointF(piece.rect.left(), top + piece.rect.top()),
                                   QPointF(piece.rect.right(), top + piece.rect.top()));
                break;
            case Piece::Shade:
                m_painter.fillRect(piece.rect.translated(0, top), kShadeColor);
                break;
            case Piece::Picture:
                picture(piece, piece.rect.translated(0, top));
                break;
            }
        }
    }

private:
    // Decoded small (ahead, on another thread), drawn, and dropped when this returns.
    void picture(const Piece &piece, const QRectF &box)
    {
        const QImage image = m_pictures.next(sourceOf(piece), pixelsFor(piece, m_builder));
        if (image.isNull()) {
            m_painter.setPen(QPen(kRuleColor, m_builder.pt(0.5)));
            m_painter.setBrush(Qt::NoBrush);
            m_painter.drawRect(box);
            m_painter.setPen(Qt::black);
            // On one line where it fits the box, made smaller if need be; wrapped if even that
            // is too wide.
            const QString notFound = QStringLiteral("Picture not found");
            QFont font = m_builder.font(Small);
            const qreal wide = QFontMetricsF(font, m_painter.device()).horizontalAdvance(notFound);
            const qreal room = box.width() - m_builder.pt(4);
            if (wide > room)
                font.setPointSizeF(std::max(5.0, font.pointSizeF() * room / wide));
            m_painter.setFont(font);
            m_painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, notFound);
            return;
        }
        QSizeF size = image.size();
        size.scale(box.size(), Qt::KeepAspectRatio);
        // A page-sized picture (a receipt) starts under its heading; a thumbnail sits in the
        // middle of its box.
        const qreal top = piece.detailed ? box.y() : box.y() + (box.height() - size.height()) / 2;
        const QRectF target(box.x() + (box.width() - size.width()) / 2, top, size.width(),
                            size.height());
        m_painter.drawImage(target, image);
    }

    QPainter &m_painter;
    const SliceBuilder &m_builder;
    PictureQueue &m_pictures;
};

// The pictures in the order the pages show them.
std::vector<PictureQueue::Request> pictureRequests(const SliceBuilder &builder,
                                                   const std::vector<PageSpan> &pages)
{
    std::vector<PictureQueue::Request> requests;
    for (const PageSpan &page : pages) {
        for (size_t i = page.first; i < page.end; ++i) {
            for (const Piece &piece : builder.slices[i].pieces) {
                if (piece.kind == Piece::Picture)
                    requests.push_back({ sourceOf(piece), pixelsFor(piece, builder) });
            }
        }
    }
    return requests;
}

} // namespace

PageLayout::PageLayout(const Contents &contents, const QLocale &locale)
    : m_contents(contents)
    , m_locale(locale)
{
}

bool PageLayout::paint(QPagedPaintDevice &device, const Progress &progress,
                       const QPageRanges &chosen)
{
    m_pageCount = 0;
    m_paintedCount = 0;
    const qreal width = device.width();
    const qreal height = device.height();
    SliceBuilder builder(device, m_locale, width);

    // The header: the home on the left (on as many lines as it needs), the date on the right.
    const QString date = dateText(COleDateTime::fromDate(m_contents.date), true, m_locale);
    const qreal dateWidth = builder.metrics(Small).horizontalAdvance(date);
    const QStringList home = builder.wrap(m_contents.homeDescription, SmallBold,
                                          std::max(width / 3, width - dateWidth - builder.pt(12)));
    const qreal headerLines = home.size() * builder.metrics(SmallBold).lineSpacing();
    const qreal bodyTop = headerLines + builder.pt(14);
    const qreal footerHeight = builder.metrics(Small).lineSpacing() + builder.pt(10);
    builder.setBodyHeight(height - bodyTop - footerHeight);

    const bool built = builder.build(
        m_contents, [&](double share) { return !progress || progress(int(share * kLayoutShare)); });
    if (!built)
        return false;
    std::vector<PageSpan> pages =
        paginate(builder.slices, builder.continuations, height - bodyTop - footerHeight);
    m_pageCount = int(pages.size());
    std::vector<int> numbers; // of the pages to paint, from 1
    for (int number = 1; number <= m_pageCount; ++number) {
        if (chosen.isEmpty() || chosen.contains(number))
            numbers.push_back(number);
    }
    if (numbers.empty())
        return false;
    std::vector<PageSpan> painted;
    for (int number : numbers)
        painted.push_back(pages[size_t(number - 1)]);

    // Only now does the device start its job (a print job, a file).
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PictureQueue pictures(pictureRequests(builder, painted), m_contents.dataFile);
    PagePainter pagePainter(painter, builder, pictures);
    bool ok = true;
    for (size_t p = 0; p < painted.size() && ok; ++p) {
        if (p > 0 && !device.newPage()) {
            ok = false;
            break;
        }
        painter.setFont(builder.font(SmallBold));
        painter.setPen(Qt::black);
        const qreal homeAscent = builder.metrics(SmallBold).ascent();
        for (qsizetype i = 0; i < home.size(); ++i)
            painter.drawText(QPointF(0, homeAscent + i * builder.metrics(SmallBold).lineSpacing()),
                             home[i]);
        painter.setFont(builder.font(Small));
        painter.drawText(QPointF(width - dateWidth, homeAscent), date);
        painter.setPen(QPen(kRuleColor, builder.pt(0.5)));
        painter.drawLine(QPointF(0, headerLines + builder.pt(4)),
                         QPointF(width, headerLines + builder.pt(4)));

        const QString folio = QStringLiteral("Page %1 of %2").arg(numbers[p]).arg(m_pageCount);
        painter.setPen(Qt::black);
        painter.drawText(QPointF((width - builder.metrics(Small).horizontalAdvance(folio)) / 2,
                                 height - builder.metrics(Small).descent()),
                         folio);

        const PageSpan &page = painted[p];
        qreal y = bodyTop;
        if (page.continuation >= 0) {
            const Slice &continued = builder.continuations[size_t(page.continuation)];
            pagePainter.paint(continued, y);
            y += continued.height;
        }
        for (size_t i = page.first; i < page.end; ++i) {
            pagePainter.paint(builder.slices[i], y);
            y += builder.slices[i].height;
        }
        m_paintedCount = int(p) + 1;
        if (progress
            && !progress(kLayoutShare
                         + int((1000 - kLayoutShare) * double(p + 1) / double(painted.size()))))
            ok = false;
    }
    return painter.end() && ok;
}

QPageSize::PageSizeId defaultPaperSize(const QLocale &locale)
{
    switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
        return QPageSize::Letter;
    default:
        return QPageSize::A4;
    }
}

QPageLayout reportPageLayout(QPageSize::PageSizeId paper)
{
    const QMarginsF margins(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres,
                            kMarginMillimetres);
    return QPageLayout(QPageSize(paper), QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

} // namespace InventoryReport
