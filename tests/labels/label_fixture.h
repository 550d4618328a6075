#pragma once
// Labels painted into a PDF and read back the way a person's tools would: pdftotext -bbox for
// where every word landed, pdftoppm and zbarimg for what every QR code says when scanned.

#include "analyzer/print_qt.h"
#include "report/label_sheet.h"
#include "report/report_fixture.h"

#include <QImage>
#include <QPdfWriter>

#include <cmath>

class LabelFixture : public ReportFixture
{
protected:
    static constexpr qreal kPointsPerMm = 72.0 / 25.4;

    struct Word
    {
        QString text;
        QRectF box; // millimetres from the page's top-left corner
    };
    struct Page
    {
        QSizeF size; // millimetres
        std::vector<Word> words;
    };

    QString paintPdf(const Labels::Geometry &geometry, const std::vector<Labels::Label> &labels,
                     int skip = 0, const QString &ownLine = QString(),
                     const QPageRanges &chosen = {})
    {
        const QString path = out.filePath(QStringLiteral("labels%1.pdf").arg(++m_pdfs));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QPdfWriter writer(&file);
        writer.setPageLayout(Labels::pageLayout(geometry));
        Labels::Painter painter(geometry, skip, ownLine);
        int painted = 0;
        EXPECT_TRUE(painter.paint(writer, labels, {}, chosen, &painted));
        pages = painter.pagesFor(labels.size());
        if (chosen.isEmpty())
            EXPECT_EQ(painted, pages);
        return path;
    }

    // Every page's words with their boxes, from pdftotext -bbox.
    static std::vector<Page> readPages(const QString &pdf)
    {
        const QString html = tool(QStringLiteral("pdftotext"),
                                  { QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                    QStringLiteral("UTF-8"), pdf, QStringLiteral("-") });
        static const QRegularExpression tag(QStringLiteral(
            "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">|<word xMin=\"([\\d.]+)\" "
            "yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        std::vector<Page> result;
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            auto mm = [&](int group) { return m.captured(group).toDouble() / kPointsPerMm; };
            if (!m.captured(1).isEmpty()) {
                result.push_back({ QSizeF(mm(1), mm(2)), {} });
                continue;
            }
            if (result.empty())
                continue;
            result.back().words.push_back(
                { unescaped(m.captured(7)), QRectF(QPointF(mm(3), mm(4)), QPointF(mm(5), mm(6))) });
        }
        return result;
    }

    // The page rendered at 300 dpi, as a scanner or a phone would see the printed sheet.
    QImage render(const QString &pdf, int page)
    {
        const QString prefix = out.filePath(QStringLiteral("page-%1-%2").arg(m_pdfs).arg(page));
        tool(QStringLiteral("pdftoppm"),
             { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
               QStringLiteral("-png"), QStringLiteral("-f"), QString::number(page),
               QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), pdf,
               prefix });
        QImage image(prefix + QStringLiteral(".png"));
        EXPECT_FALSE(image.isNull());
        return image;
    }

    // What zbarimg reads from each of the squares (millimetres) of a page rendered at 300 dpi,
    // in their order. Each code is cut out with the white around it, as a hand scanner aims at
    // one label: zbar misses some codes of a page full of them.
    QStringList scan(const QImage &page, const std::vector<QRectF> &squares)
    {
        QStringList files;
        for (const QRectF &square : squares) {
            const QRect pixels = toPixels(square.adjusted(-1, -1, 1, 1)).intersected(page.rect());
            files << out.filePath(QStringLiteral("code-%1.png").arg(++m_codes));
            EXPECT_TRUE(page.copy(pixels).save(files.back()));
        }
        QProcess zbar;
        zbar.start(QStringLiteral("zbarimg"),
                   QStringList { QStringLiteral("--raw"), QStringLiteral("-q"),
                                 QStringLiteral("--nodbus") }
                       + files);
        EXPECT_TRUE(zbar.waitForFinished(120000));
        return QString::fromUtf8(zbar.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    static QRect toPixels(const QRectF &mm)
    {
        const qreal pixelsPerMm = 300 / 25.4;
        return QRect(
            QPoint(int(std::ceil(mm.left() * pixelsPerMm)), int(std::ceil(mm.top() * pixelsPerMm))),
            QPoint(int(mm.right() * pixelsPerMm) - 1, int(mm.bottom() * pixelsPerMm) - 1));
    }

    // The width, in millimetres, of the dark pixels within area (millimetres) of a 300 dpi page.
    static qreal inkWidth(const QImage &page, const QRectF &area)
    {
        const qreal pixelsPerMm = 300 / 25.4;
        const QRect pixels = toPixels(area);
        int first = page.width();
        int last = -1;
        for (int y = pixels.top(); y <= pixels.bottom() && y < page.height(); ++y) {
            for (int x = pixels.left(); x <= pixels.right() && x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 128) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        return last < first ? 0 : (last - first + 1) / pixelsPerMm;
    }

    static QString unescaped(QString text)
    {
        return text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&apos;"), QLatin1String("'"))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
    }

private:
    int m_pdfs = 0;
    int m_codes = 0;
};
