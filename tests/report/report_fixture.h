#pragma once
// A home with its inventory in a fresh data file, and the tools that read a report back:
// pdftotext and pdfinfo, from poppler-utils.

#include "records/area.h"
#include "records/asset.h"
#include "records/home.h"
#include "report/report_contents.h"
#include "report/report_layout.h"
#include "support/data_file_test.h"

#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

struct AssetSeed
{
    QString description;
    qint32 category = 0;
    qint32 location = 0;
    double price = 0;
    double current = 0;
    double replacement = 0;
    QString serial {};
    QString makeModel {};
    QString vendor {};
    COleDateTime purchased = COleDateTime(2019, 5, 14);
    COleDateTime warranty = CAsset::noWarrantyDate();
    QString notes {};
    QString picture {};
};

class ReportFixture : public DataFileTest
{
protected:
    static inline const QDate kToday = QDate(2024, 3, 9);

    void SetUp() override
    {
        DataFileTest::SetUp();
        home.m_strDescription = QStringLiteral("Lake house");
        home.m_strAddress = QStringLiteral("12 Shore Road\nLakeside");
        ASSERT_TRUE(home.Save(db));
    }

    qint32 addLocation(const QString &name)
    {
        CArea area;
        area.m_nHomeId = home.id();
        area.m_strDescription = name;
        EXPECT_TRUE(area.Save(db));
        return area.id();
    }

    qint32 addAsset(const AssetSeed &seed)
    {
        CAsset asset;
        asset.m_lHomeId = home.id();
        asset.m_strDescription = seed.description;
        asset.m_lCategoryId = seed.category;
        asset.m_lAreaId = seed.location;
        asset.m_fPurchasePrice = float(seed.price);
        asset.m_fCurrentValue = float(seed.current);
        asset.m_fReplacementValue = float(seed.replacement);
        asset.m_strSerialNumber = seed.serial;
        asset.m_strMakeModel = seed.makeModel;
        asset.m_strVendor = seed.vendor;
        asset.m_dtPurchaseDate = seed.purchased;
        asset.m_dtWarrantyExpiration = seed.warranty;
        asset.m_strNotes = seed.notes;
        asset.m_strPicture = seed.picture;
        EXPECT_TRUE(asset.Save(db));
        return asset.id();
    }

    // Many plain assets at once ("Book 0", "Book 1"...; category Books), for the long runs.
    void addBooks(int count, const QString &notes = QString())
    {
        QStringList rows;
        for (int i = 0; i < count; ++i)
            rows << QStringLiteral("(%1, %2, 3, 'Book %3', %4)")
                        .arg(100000 + i)
                        .arg(home.id())
                        .arg(i)
                        .arg(notes.isEmpty() ? QStringLiteral("NULL")
                                             : QLatin1Char('\'') + notes + QLatin1Char('\''));
        DataFileTest::run(
            QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, Notes) "
                           "VALUES ")
            + rows.join(QLatin1Char(',')) + QLatin1Char(';'));
    }

    // Lays the report out as a PDF in the test's folder; returns its path.
    QString writePdf(const InventoryReport::Options &options,
                     QPageSize::PageSizeId paper = QPageSize::Letter,
                     const QLocale &locale = QLocale(QLocale::English, QLocale::UnitedStates))
    {
        QString error;
        EXPECT_TRUE(InventoryReport::load(db, home.id(), options, kToday, contents, &error))
            << error.toStdString();
        const QString path = out.filePath(QStringLiteral("report%1.pdf").arg(++m_written));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QPdfWriter writer(&file);
        writer.setPageLayout(InventoryReport::reportPageLayout(paper));
        InventoryReport::PageLayout layout(contents, locale);
        EXPECT_TRUE(layout.paint(writer));
        pages = layout.pageCount();
        return path;
    }

    static QString tool(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // The text of one page (1-based), or of all pages for 0, in reading order.
    static QString pdfText(const QString &path, int page = 0)
    {
        QStringList arguments { QStringLiteral("-layout"), QStringLiteral("-enc"),
                                QStringLiteral("UTF-8") };
        if (page > 0)
            arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                      << QString::number(page);
        return tool(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
    }

    // Runs of blanks made one, so that a table's columns read as "Kitchen 2 $10.00".
    static QString squeezed(const QString &text)
    {
        QString result = text;
        return result.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    }

    static QString pdfInfo(const QString &path, const QString &field)
    {
        const QString info = tool(QStringLiteral("pdfinfo"), { path });
        const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field),
                                      QRegularExpression::MultilineOption);
        return line.match(info).captured(1).trimmed();
    }

    CHome home;
    InventoryReport::Contents contents;
    QTemporaryDir out;
    int pages = 0;

private:
    int m_written = 0;
};
