// The inventory report with attachments, written as a PDF and read back with poppler's tools:
// each asset's files by kind and name, its photos as thumbnails, the picture kept in the data
// file in the picture's place, and with "Include receipts" a page for each receipt picture.
#include "attachments/attachment_files.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "report/report_fixture.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using InventoryReport::Options;

class ReportAttachments : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        sofa = addAsset({ .description = QStringLiteral("Sofa"), .price = 900, .current = 500 });
        addAsset({ .description = QStringLiteral("Lamp"), .price = 20, .current = 10 });
        front = attach(sofa, QStringLiteral("front.jpg"), Qt::darkGreen);
        attach(sofa, QStringLiteral("back.jpg"), Qt::darkRed);
        attach(sofa, QStringLiteral("receipt.jpg"), QColor(250, 240, 200)); // a receipt by name
        const QString manual =
            AttachmentFiles::write(files.path(), QStringLiteral("manual.pdf"), 4000, 2);
        ASSERT_EQ(Attachments::add(db, manual, home.id(), sofa).problem,
                  Attachments::Problem::None);
        ASSERT_TRUE(Attachments::setPicture(db, front, true));
    }

    qint64 attach(qint32 asset, const QString &name, QColor colour)
    {
        QImage image(300, 200, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = files.filePath(name);
        EXPECT_TRUE(image.save(path, "JPG"));
        const auto added = Attachments::add(db, path, home.id(), asset);
        EXPECT_EQ(added.problem, Attachments::Problem::None);
        return added.id;
    }

    // How many pictures the PDF holds.
    int images(const QString &pdf)
    {
        const QStringList lines =
            tool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return int(lines.size()) - 2; // two lines of headings
    }

    QTemporaryDir files;
    qint32 sofa = 0;
    qint64 front = 0;
};

TEST_F(ReportAttachments, EachAssetListsItsFilesAndShowsItsPhotos)
{
    const QString pdf = writePdf(Options {});
    const QString text = squeezed(pdfText(pdf));
    EXPECT_TRUE(text.contains(
        QStringLiteral("Attachments: Photo: back.jpg, front.jpg; Receipt: receipt.jpg; Manual: "
                       "manual.pdf")))
        << text.toStdString();
    // The picture (front, kept in the data file) and one thumbnail (back): the picture is not
    // shown twice, and a receipt is no photo.
    EXPECT_EQ(images(pdf), 2);
    const int withoutReceipts = pages;

    Options receipts;
    receipts.receipts = true;
    const QString withReceipt = writePdf(receipts);
    EXPECT_EQ(pages, withoutReceipts + 1);
    // Kept to look at, as the screenshots are.
    if (const QString folder = qEnvironmentVariable("DOMELIO_SCREENSHOTS"); !folder.isEmpty())
        QFile::copy(withReceipt, folder + QStringLiteral("/report_attachments.pdf"));
    const QString last = squeezed(pdfText(withReceipt, pages));
    EXPECT_TRUE(last.contains(QStringLiteral("Receipt: Sofa"))) << last.toStdString();
    EXPECT_TRUE(last.contains(QStringLiteral("receipt.jpg")));
    EXPECT_EQ(images(withReceipt), 3);

    // A page per asset: the files under a heading of their own, kind by kind.
    Options pagePerAsset;
    pagePerAsset.pagePerAsset = true;
    const QString pagesPdf = writePdf(pagePerAsset);
    if (const QString folder = qEnvironmentVariable("DOMELIO_SCREENSHOTS"); !folder.isEmpty())
        QFile::copy(pagesPdf, folder + QStringLiteral("/report_attachments_pages.pdf"));
    const QString pages = squeezed(pdfText(pagesPdf));
    EXPECT_TRUE(pages.contains(QStringLiteral("Attachments\nPhoto: back.jpg, front.jpg\nReceipt: "
                                              "receipt.jpg\nManual: manual.pdf")))
        << pages.toStdString();

    // Without pictures the names are still listed, and no picture is read.
    Options plain;
    plain.pictures = false;
    const QString noPictures = writePdf(plain);
    EXPECT_TRUE(squeezed(pdfText(noPictures)).contains(QStringLiteral("Manual: manual.pdf")));
    EXPECT_EQ(images(noPictures), 0);
}

} // namespace
