// File > Import Inventory Data, through its dialog: the program's own export read back whole, a
// second import that adds nothing, files from other programs and other locales, the columns'
// fields, the skipped rows and their list, and every file it refuses.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "db/datafile.h"
#include "exchange/inventory_export.h"
#include "import_fixture.h"
#include "platform/busy.h"
#include "records/area.h"
#include "records/asset.h"
#include "records/categories.h"
#include "support/long_work.h"
#include "support/screenshots.h"
#include "views/inventory_view.h"
#include "widgets/busy_window.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

// The inventory report of a home, as the export writes it, dated so that two reports compare.
QByteArray exported(CADODataBase &connection, const CHome &of)
{
    InventoryExport::Report report;
    report.homeId = of.id();
    report.homeDescription = of.m_strDescription;
    report.today = QDate(2024, 3, 9);
    report.locale = kUs;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    EXPECT_TRUE(InventoryExport::write(connection, report, out));
    return out.data();
}

qint32 saveAsset(CADODataBase &connection, CAsset asset)
{
    EXPECT_TRUE(asset.Save(connection)) << connection.GetLastError().toStdString();
    return asset.id();
}

qint32 saveArea(CADODataBase &connection, qint32 homeId, const QString &name)
{
    CArea area;
    area.m_nHomeId = homeId;
    area.m_strDescription = name;
    EXPECT_TRUE(area.Save(connection));
    return area.id();
}

class ImportDialog : public ImportTest
{
protected:
    double real(const QString &sql, CADODataBase *connection = nullptr)
    {
        CADORecordset rs(connection ? *connection : db);
        EXPECT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
        double value = -1;
        if (!rs.IsEof())
            rs.GetDouble(0, value);
        return value;
    }

    // A date column of the first asset that where (a condition) finds; null when none is
    // stored.
    QDate day(const char *column, const QString &where, CADODataBase *connection = nullptr)
    {
        CADORecordset rs(connection ? *connection : db);
        EXPECT_TRUE(rs.Open(QStringLiteral("SELECT %1 FROM Assets WHERE %2 ORDER BY AssetId;")
                                .arg(QLatin1String(column), where)))
            << rs.GetLastError().toStdString();
        COleDateTime value = COleDateTime::invalidDate();
        if (!rs.IsEof()) {
            EXPECT_TRUE(rs.GetDate(QLatin1String(column), value));
        }
        return value.isValid() ? value.date() : QDate();
    }

    // Every counter of TableIds stands above every id of its table.
    void expectCountersAhead(CADODataBase &connection)
    {
        for (const char *table : { "Areas", "Assets", "Categories" }) {
            const QString key = QLatin1String(table).chopped(1) + QStringLiteral("Id");
            const QString keyColumn = QString::fromLatin1(table) == QLatin1String("Categories")
                ? QStringLiteral("CategoryId")
                : key;
            const double next =
                real(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='%1';")
                         .arg(QLatin1String(table)),
                     &connection);
            const double largest = real(QStringLiteral("SELECT COALESCE(MAX(%1), 0) FROM %2;")
                                            .arg(keyColumn, QLatin1String(table)),
                                        &connection);
            EXPECT_GT(next, largest) << table;
        }
    }

    void TearDown() override
    {
        longWork.reset();
        ImportTest::TearDown();
    }

    std::optional<EveryWorkIsLong> longWork;
};

// The household every round trip starts from: assets of every kind the export writes, in a home
// of the fixture's data file.
void seedHousehold(CADODataBase &connection, qint32 homeId)
{
    const qint32 living = saveArea(connection, homeId, QStringLiteral("Living Room"));
    const qint32 shed = saveArea(connection, homeId, QStringLiteral("Garden Shed"));
    const qint32 garden = Categories::create(connection, QStringLiteral("Garden Tools"), 1);
    ASSERT_GT(garden, 0);

    CAsset sofa;
    sofa.m_lHomeId = homeId;
    sofa.m_lAreaId = living;
    sofa.m_lCategoryId = 8; // Furniture
    sofa.m_strDescription = QStringLiteral("Sofa, three seats");
    sofa.m_fPurchasePrice = 1250.0f;
    sofa.m_fCurrentValue = 900.5f;
    sofa.m_fReplacementValue = 1500.0f;
    sofa.m_dtPurchaseDate = COleDateTime(2019, 5, 14);
    sofa.m_dtWarrantyExpiration = COleDateTime(2024, 5, 14);
    sofa.m_strMakeModel = QStringLiteral("Say \"Comfy\" 3");
    sofa.m_strVendor = QStringLiteral("Main St, Inc.");
    sofa.m_strPhone1 = QStringLiteral("+1 555 0100");
    sofa.m_strSerialNumber = QStringLiteral("00123");
    saveAsset(connection, sofa);

    CAsset formula;
    formula.m_lHomeId = homeId;
    formula.m_lCategoryId = 2; // Art
    formula.m_strDescription = QStringLiteral("=SUM(1,2)");
    formula.m_strMakeModel = QStringLiteral("-20% off, 'as is'");
    formula.m_fCurrentValue = -5.25f;
    formula.m_dtPurchaseDate = COleDateTime(2001, 12, 31);
    saveAsset(connection, formula);

    CAsset title;
    title.m_lHomeId = homeId;
    title.m_lCategoryId = CAsset::kVideoCategoryId;
    title.m_strDescription = QStringLiteral("Alien");
    title.m_strMakeModel = QStringLiteral("Science Fiction");
    title.m_fCurrentValue = 9.99f;
    title.m_dtPurchaseDate = COleDateTime(2010, 2, 1);
    title.m_dtWarrantyExpiration = COleDateTime(2000, 1, 1);
    saveAsset(connection, title);

    CAsset rake;
    rake.m_lHomeId = homeId;
    rake.m_lAreaId = shed;
    rake.m_lCategoryId = garden;
    rake.m_strDescription = QString::fromUtf8("Café rake ☕ 耙子");
    rake.m_fPurchasePrice = 0.01f;
    rake.m_dtPurchaseDate = COleDateTime(2029, 12, 31);
    saveAsset(connection, rake);

    CAsset multiLine;
    multiLine.m_lHomeId = homeId;
    multiLine.m_strDescription = QStringLiteral("Two\r\nlines, no category");
    multiLine.m_dtPurchaseDate = COleDateTime(1930, 1, 1);
    saveAsset(connection, multiLine);

    // Stored without a purchase date (a synced handheld's row): the export leaves it empty.
    ASSERT_TRUE(connection.Execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CategoryId, AreaId, "
                       "PurchasePrice, CurrentValue, ReplacementValue) VALUES (900, %1, 'Loose "
                       "box', 0, 0, 0, 0, 0);")
            .arg(homeId)));
    ASSERT_TRUE(connection.Execute(
        QStringLiteral("UPDATE TableIds SET NextId=901 WHERE TableName='Assets';")));
}

TEST_F(ImportDialog, TheProgramsOwnExportComesBackWholeAndASecondImportAddsNothing)
{
    CHome source;
    source.m_strDescription = QStringLiteral("Lake house");
    ASSERT_TRUE(source.Save(db));
    seedHousehold(db, source.id());
    const QByteArray report = exported(db, source);
    const QString path = write(QStringLiteral("Lake house Inventory.csv"), report);

    // Into an empty home of a new data file: the locations and the added category are made.
    const QString targetFile = files.filePath(QStringLiteral("OTHER.DAT"));
    ASSERT_TRUE(DataFile::create(targetFile));
    CADODataBase target;
    ASSERT_TRUE(target.Open(targetFile));
    CHome empty;
    empty.m_strDescription = QStringLiteral("Lake house");
    ASSERT_TRUE(empty.Save(target));

    QString fileLabel, encoding, separator, summary, firstRowAction;
    QStringList fields;
    bool headers = false;
    ASSERT_TRUE(importFile(
        path,
        [&](QDialog &d) {
            fileLabel = Fill::textOf(d, QStringLiteral("fileName"));
            encoding = Fill::textOf(d, QStringLiteral("encoding"));
            separator = Fill::textOf(d, QStringLiteral("separator"));
            headers = d.findChild<QCheckBox *>(QStringLiteral("headers"))->isChecked();
            for (int c = 1; c <= 12; ++c)
                fields << fieldOf(d, c);
            summary = Fill::textOf(d, QStringLiteral("summary"));
            firstRowAction = cell(d, "previewRows", 0, QStringLiteral("Will be"));
            Fill::click(d, QStringLiteral("import"));
        },
        &target, &empty));
    EXPECT_EQ(fileLabel,
              QStringLiteral("Lake house Inventory.csv  (Domelio's inventory export of "
                             "Lake house)"));
    EXPECT_EQ(encoding, QStringLiteral("UTF-8 with byte-order mark"));
    EXPECT_EQ(separator, QStringLiteral("Comma"));
    EXPECT_TRUE(headers);
    EXPECT_EQ(fields,
              (QStringList { "Category", "Description", "Current Value", "Purchase Price",
                             "Purchase Date", "Make/Model", "Dealer/Store", "Location",
                             "Replacement Value", "Warranty Expires", "Serial #", "Phone #" }));
    EXPECT_EQ(summary,
              QStringLiteral("6 rows will be imported, 0 will be skipped, 2 locations "
                             "and 1 category will be created"));
    EXPECT_EQ(firstRowAction, QStringLiteral("New asset")) << "Loose box: no category, no location";
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("6 assets imported into Lake house, 0 rows skipped."));

    // Exported again, the new home gives the same rows, byte for byte.
    EXPECT_EQ(QString::fromUtf8(exported(target, empty)), QString::fromUtf8(report));
    // What the export does not carry: a video title's release year (the year a new title
    // starts with), and what it blanks for titles.
    EXPECT_EQ(day("WarrantyExpiration", QStringLiteral("Description='Alien'"), &target),
              QDate(2000, 1, 1));
    EXPECT_EQ(
        real(QStringLiteral("SELECT CategoryId FROM Assets WHERE Description='Alien';"), &target),
        19);
    EXPECT_EQ(text(QStringLiteral("SELECT Description FROM Categories WHERE CategoryType=1 AND "
                                  "CategoryId>30;"),
                   &target),
              QStringLiteral("Garden Tools"));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Areas WHERE HomeId=%1;").arg(empty.id()),
                   &target),
              2);
    EXPECT_EQ(
        text(QStringLiteral("SELECT Phone1 FROM Assets WHERE SerialNumber='00123';"), &target),
        QStringLiteral("+1 555 0100"));
    EXPECT_TRUE(day("PurchaseDate", QStringLiteral("Description='Loose box'"), &target).isNull())
        << "an empty date is stored as none, never as today";
    expectCountersAhead(target);

    // The same file again: every row matches an asset, nothing is added.
    QString again;
    bool importEnabled = true;
    QString reason;
    QString updating;
    EXPECT_TRUE(importFile(
        path,
        [&](QDialog &d) {
            again = Fill::textOf(d, QStringLiteral("summary"));
            importEnabled = d.findChild<QPushButton *>(QStringLiteral("import"))->isEnabled();
            reason = cell(d, "skippedRows", 0, QStringLiteral("Why"));
            Fill::click(d, QStringLiteral("updateMatches"));
            updating = Fill::textOf(d, QStringLiteral("summary"));
            Fill::click(d, QStringLiteral("import"));
        },
        &target, &empty));
    EXPECT_EQ(again, QStringLiteral("0 rows will be imported, 6 will be skipped"));
    EXPECT_FALSE(importEnabled) << "nothing to import: the button waits for a choice";
    EXPECT_EQ(reason, QStringLiteral("same asset as an existing one"));
    EXPECT_EQ(updating,
              QStringLiteral("0 rows will be imported, 6 will update matching assets, "
                             "0 will be skipped"));
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[1].text,
              QStringLiteral("0 assets imported into Lake house, 6 assets updated, 0 rows "
                             "skipped."));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Assets;"), &target), 6);
    EXPECT_EQ(QString::fromUtf8(exported(target, empty)), QString::fromUtf8(report));
    expectCountersAhead(target);
}

TEST_F(ImportDialog, UpdatingWritesTheFilledCellsIntoTheMatchingAssetAndKeepsTheRest)
{
    const qint32 den = saveArea(db, home.id(), QStringLiteral("Den"));
    CAsset lamp;
    lamp.m_lHomeId = home.id();
    lamp.m_lAreaId = den;
    lamp.m_strDescription = QStringLiteral("Floor lamp");
    lamp.m_strSerialNumber = QStringLiteral("L-1");
    lamp.m_dtPurchaseDate = COleDateTime(2020, 3, 1);
    lamp.m_strVendor = QStringLiteral("Lamp shop");
    lamp.m_fCurrentValue = 40;
    lamp.m_strNotes = QStringLiteral("Bulb: E27");
    const qint32 id = saveAsset(db, lamp);

    // Other letter case in the description; an empty store cell keeps the store.
    const QString path = write(QStringLiteral("update.csv"),
                               "Name,Serial,Purchased,Value,Store,Room\r\n"
                               "FLOOR LAMP,L-1,3/1/20,$55.00,,Study\r\n"
                               "Floor lamp,L-2,3/1/20,$10.00,,\r\n");
    ASSERT_TRUE(importFile(path, [](QDialog &d) {
        Fill::click(d, QStringLiteral("updateMatches"));
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_EQ(ui.messages().back().text,
              QStringLiteral("1 asset imported into Maple Court, 1 asset updated, 0 rows "
                             "skipped."));
    const QString where = QStringLiteral(" FROM Assets WHERE AssetId=%1;").arg(id);
    EXPECT_EQ(real(QStringLiteral("SELECT CurrentValue") + where), 55);
    EXPECT_EQ(text(QStringLiteral("SELECT Description") + where), QStringLiteral("FLOOR LAMP"));
    EXPECT_EQ(text(QStringLiteral("SELECT Vendor") + where), QStringLiteral("Lamp shop"));
    EXPECT_EQ(text(QStringLiteral("SELECT Notes") + where), QStringLiteral("Bulb: E27"));
    EXPECT_EQ(text(QStringLiteral("SELECT a.Description FROM Areas a JOIN Assets s ON "
                                  "s.AreaId=a.AreaId WHERE s.AssetId=%1;")
                       .arg(id)),
              QStringLiteral("Study"));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 2);
}

TEST_F(ImportDialog, ASemicolonFileUnderGermanSettingsReadsItsAmountsDatesAndNames)
{
    setUserLocale(QLocale(QLocale::German, QLocale::Germany));
    const qint32 kitchen = saveArea(db, home.id(), QString::fromUtf8("Küche"));
    const QString path =
        write(QStringLiteral("inventar.csv"),
              QString::fromUtf8("Name;Category;Room;Price;Value;Purchased;Warranty\n"
                                "Sofa;Möbel;Wohnzimmer;1.250,00 €;900,50;14.05.19;2024-05-14\n"
                                "Lampe;;küche ;12,50;10;2019-05-14;\n"
                                "Tisch;Möbel;Wohnzimmer;149.99;;31.12.99x;\n"
                                "Stuhl; MÖBEL ; KÜCHE;5;;;\n")
                  .toUtf8());
    QString separator, summary, skippedRow, skippedColumn, skippedText, why, tab;
    QString shownPrice, shownDate;
    ASSERT_TRUE(importFile(path, [&](QDialog &d) {
        separator = Fill::textOf(d, QStringLiteral("separator"));
        summary = Fill::textOf(d, QStringLiteral("summary"));
        skippedRow = cell(d, "skippedRows", 0, QStringLiteral("Row"));
        skippedColumn = cell(d, "skippedRows", 0, QStringLiteral("Column"));
        skippedText = cell(d, "skippedRows", 0, QStringLiteral("Text"));
        why = cell(d, "skippedRows", 0, QStringLiteral("Why"));
        tab = d.findChild<QTabWidget *>(QStringLiteral("previewTabs"))->tabText(1);
        shownPrice = cell(d, "previewRows", 0, QStringLiteral("Purchase Price"));
        shownDate = cell(d, "previewRows", 0, QStringLiteral("Purchase Date"));
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_EQ(separator, QStringLiteral("Semicolon"));
    EXPECT_EQ(summary,
              QStringLiteral("3 rows will be imported, 1 will be skipped, 1 location and "
                             "1 category will be created"));
    EXPECT_EQ(skippedRow, QStringLiteral("4"));
    EXPECT_EQ(skippedColumn, QStringLiteral("Purchased"));
    EXPECT_EQ(skippedText, QStringLiteral("31.12.99x"));
    EXPECT_EQ(why, QStringLiteral("'31.12.99x' is not a date"));
    EXPECT_EQ(tab, QStringLiteral("S&kipped rows (1)"));
    EXPECT_EQ(shownPrice, QString::fromUtf8("1.250,00\u00A0€"));
    EXPECT_EQ(shownDate, QStringLiteral("14.05.19"));

    EXPECT_EQ(real(QStringLiteral("SELECT PurchasePrice FROM Assets WHERE Description='Sofa';")),
              1250);
    EXPECT_EQ(real(QStringLiteral("SELECT CurrentValue FROM Assets WHERE Description='Sofa';")),
              900.5);
    EXPECT_EQ(day("PurchaseDate", QStringLiteral("Description='Sofa'")), QDate(2019, 5, 14));
    EXPECT_EQ(day("WarrantyExpiration", QStringLiteral("Description='Sofa'")), QDate(2024, 5, 14));
    EXPECT_EQ(real(QStringLiteral("SELECT PurchasePrice FROM Assets WHERE Description='Lampe';")),
              12.5);
    // Names found again whatever their letter case and surrounding spaces.
    EXPECT_EQ(real(QStringLiteral("SELECT AreaId FROM Assets WHERE Description='Stuhl';")),
              kitchen);
    EXPECT_EQ(real(QStringLiteral("SELECT AreaId FROM Assets WHERE Description='Lampe';")),
              kitchen);
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(DISTINCT CategoryId) FROM Assets WHERE "
                                  "Description IN ('Sofa', 'Stuhl');")),
              1);
    EXPECT_EQ(text(QStringLiteral("SELECT c.Description FROM Categories c JOIN Assets a ON "
                                  "a.CategoryId=c.CategoryId WHERE a.Description='Stuhl';")),
              QString::fromUtf8("Möbel"));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE Description='Tisch';")), 0)
        << "a date that cannot be read refuses the row";
    expectCountersAhead(db);
}

TEST_F(ImportDialog, AWindows1252FileIsReadAsSuchAndTheEncodingCanBeChanged)
{
    const QString path = write(QStringLiteral("legacy.txt"),
                               "Name\tRoom\tPrice\r\nCaf\xe9 table\tK\xfc"
                               "che\t\x80 12.50\r\n\x93"
                               "Big\x94 clock\tHall\t99\r\n");
    QString encoding, separator, asRead, asUtf8, utf8Skip;
    ASSERT_TRUE(importFile(path, [&](QDialog &d) {
        encoding = Fill::textOf(d, QStringLiteral("encoding"));
        separator = Fill::textOf(d, QStringLiteral("separator"));
        asRead = cell(d, "previewRows", 0, QStringLiteral("Description"));
        Fill::comboIndex(d, QStringLiteral("encoding"), 0);
        // Read as UTF-8, the euro sign is no character: that row's price is no amount.
        asUtf8 = cell(d, "previewRows", 0, QStringLiteral("Description"));
        utf8Skip = cell(d, "skippedRows", 0, QStringLiteral("Why"));
        Fill::comboIndex(d, QStringLiteral("encoding"), 1);
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_EQ(encoding, QStringLiteral("Windows-1252 (Western European)"));
    EXPECT_EQ(separator, QStringLiteral("Tab"));
    EXPECT_EQ(asRead, QString::fromUtf8("Café table"));
    EXPECT_EQ(asUtf8, QString::fromUtf8("\uFFFDBig\uFFFD clock"));
    EXPECT_EQ(utf8Skip, QString::fromUtf8("'\uFFFD 12.50' is not an amount"));
    EXPECT_EQ(text(QStringLiteral("SELECT Description FROM Assets ORDER BY AssetId;")),
              QString::fromUtf8("Café table"));
    EXPECT_EQ(text(QStringLiteral("SELECT Description FROM Assets WHERE PurchasePrice=99;")),
              QString::fromUtf8("“Big” clock"));
    EXPECT_EQ(text(QStringLiteral("SELECT Description FROM Areas ORDER BY AreaId;")),
              QString::fromUtf8("Küche"));
    EXPECT_EQ(real(QStringLiteral("SELECT PurchasePrice FROM Assets ORDER BY AssetId;")), 12.5);
}

const QByteArray kHomeboxHeader =
    "HB.import_ref,HB.location,HB.labels,HB.asset_id,HB.archived,HB.url,HB.name,HB.quantity,"
    "HB.description,HB.insured,HB.notes,HB.purchase_price,HB.purchase_from,HB.purchase_time,"
    "HB.manufacturer,HB.model_number,HB.serial_number,HB.lifetime_warranty,HB.warranty_expires,"
    "HB.warranty_details,HB.sold_to,HB.sold_price,HB.sold_time,HB.sold_notes\n";

TEST_F(ImportDialog, AHomeboxExportIsMappedByItsHeadersAndTwoColumnsNeverFillOneField)
{
    const QString path = write(
        QStringLiteral("homebox.csv"),
        kHomeboxHeader
            + ",Garage,Tools;Power,000-001,false,,Drill,1,\"Cordless, 18V\",false,Keep charged,"
              "149.99,Hardware Store,2023-01-15,Bosch,GSR18,XJ-99,false,2025-01-15,,,0,,\n"
              ",Kitchen,,000-002,false,,Kettle,1,,false,,25,,2022-11-30,Acme,,,false,,,,0,,\n");
    QStringList fields;
    QString conflictNote, columnNote, blockedBlocker;
    bool blocked = false, freedAgain = false;
    ASSERT_TRUE(importFile(path, [&](QDialog &d) {
        for (int c = 1; c <= 24; ++c)
            fields << fieldOf(d, c);
        // The model number too into Make/Model: the second column says it cannot.
        chooseField(d, 16, QStringLiteral("Make/Model"));
        auto *table = d.findChild<QTableWidget *>(QStringLiteral("columns"));
        conflictNote = table->item(15, 3)->text();
        columnNote = Fill::textOf(d, QStringLiteral("columnNote"));
        blocked = !d.findChild<QPushButton *>(QStringLiteral("import"))->isEnabled();
        blockedBlocker = dialogOf(d).blocker();
        chooseField(d, 16, QStringLiteral("(ignore)"));
        freedAgain = d.findChild<QPushButton *>(QStringLiteral("import"))->isEnabled()
            && table->item(15, 3)->text().isEmpty();
        Fill::click(d, QStringLiteral("import"));
    }));
    const QString i = QStringLiteral("(ignore)");
    EXPECT_EQ(fields,
              (QStringList { i,
                             "Location",
                             i,
                             i,
                             i,
                             i,
                             "Description",
                             i,
                             "Notes",
                             i,
                             i,
                             "Purchase Price",
                             "Dealer/Store",
                             "Purchase Date",
                             "Make/Model",
                             i,
                             "Serial #",
                             i,
                             "Warranty Expires",
                             i,
                             i,
                             i,
                             i,
                             i }));
    EXPECT_EQ(conflictNote,
              QStringLiteral("Make/Model already comes from column 15 "
                             "(HB.manufacturer)"));
    EXPECT_EQ(columnNote,
              QStringLiteral("Column 16 (HB.model_number): Make/Model already comes "
                             "from column 15 (HB.manufacturer). Two columns cannot "
                             "go into one field."));
    EXPECT_TRUE(blocked);
    EXPECT_EQ(blockedBlocker, columnNote);
    EXPECT_TRUE(freedAgain);

    const QString drill = QStringLiteral(" FROM Assets WHERE Description='Drill';");
    EXPECT_EQ(text(QStringLiteral("SELECT Notes") + drill), QStringLiteral("Cordless, 18V"));
    EXPECT_EQ(real(QStringLiteral("SELECT PurchasePrice") + drill), 149.99);
    EXPECT_EQ(text(QStringLiteral("SELECT Vendor") + drill), QStringLiteral("Hardware Store"));
    EXPECT_EQ(day("PurchaseDate", QStringLiteral("Description='Drill'")), QDate(2023, 1, 15));
    EXPECT_EQ(day("WarrantyExpiration", QStringLiteral("Description='Drill'")), QDate(2025, 1, 15));
    EXPECT_EQ(text(QStringLiteral("SELECT MakeModel") + drill), QStringLiteral("Bosch"));
    EXPECT_EQ(text(QStringLiteral("SELECT SerialNumber") + drill), QStringLiteral("XJ-99"));
    EXPECT_EQ(day("WarrantyExpiration", QStringLiteral("Description='Kettle'")), QDate(2000, 1, 1))
        << "no warranty date: the date that stands for none, as the sheet saves it";
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Areas WHERE HomeId=%1;").arg(home.id())),
              2);
}

TEST_F(ImportDialog, SkippedRowsAreListedAndTheirListIsSavedBesideTheSourceToMendAndImport)
{
    const QString path = write(QStringLiteral("spreadsheet.csv"),
                               "Item,Room,Category,Price,Purchased\r\n"
                               "Chair,Study,Furniture,$40.00,5/14/19\r\n"
                               "Desk,Study,Furniture,forty,12/31/99x\r\n"
                               ",Garage,Tools,12,5/14/19\r\n"
                               "Shelf,Hall,Furniture,\"$1,000.00\",2019-05-14\r\n"
                               "Television,Living room,Electronics,$899.99,11/25/22\r\n"
                               "Lawn mower,Garage,Garden,$349.00,4/2/21\r\n"
                               "Espresso machine,Kitchen,Appliances,$279.50,12/24/20\r\n"
                               "\r\n");
    int skippedLines = 0;
    QString summary;
    ui.answer(Ui::Yes);
    ASSERT_TRUE(importFile(path, [&](QDialog &d) {
        skippedLines = rows(d, "skippedRows");
        summary = Fill::textOf(d, QStringLiteral("summary"));
        d.findChild<QTabWidget *>(QStringLiteral("previewTabs"))->setCurrentIndex(1);
        QApplication::processEvents();
        Screenshots::save(d, QStringLiteral("import"));
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_EQ(skippedLines, 3) << "two reasons for the desk, one for the row without a name";
    EXPECT_EQ(summary,
              QStringLiteral("5 rows will be imported, 2 will be skipped, 5 locations and "
                             "1 category will be created"));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("5 assets imported into Maple Court, 2 rows skipped.\n\nSave the "
                             "list of skipped rows as \"spreadsheet skipped rows.csv\" beside the "
                             "file you imported?"));
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Question);

    const QString list = files.filePath(QStringLiteral("spreadsheet skipped rows.csv"));
    EXPECT_EQ(
        QString::fromUtf8(bytesOf(list)),
        QString::fromUtf8("\xEF\xBB\xBF\"Row\",\"Why skipped\",\"Item\",\"Room\",\"Category\","
                          "\"Price\",\"Purchased\"\r\n"
                          "\"3\",\"Price: 'forty' is not an amount; Purchased: '12/31/99x' "
                          "is not a date\",\"Desk\",\"Study\",\"Furniture\",\"forty\","
                          "\"12/31/99x\"\r\n"
                          "\"4\",\"Item: no description\",\"\",\"Garage\",\"Tools\",\"12\","
                          "\"5/14/19\"\r\n"));

    // Mended, the list imports the rows it holds; its own two columns are left out.
    QByteArray mended = bytesOf(list);
    mended.replace("\"forty\",\"12/31/99x\"", "\"40\",\"12/31/99\"");
    mended.replace("\"\",\"Garage\"", "\"Lamp\",\"Garage\"");
    const QString again = write(QStringLiteral("mended.csv"), mended);
    QStringList fields;
    ASSERT_TRUE(importFile(again, [&](QDialog &d) {
        for (int c = 1; c <= 7; ++c)
            fields << fieldOf(d, c);
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_EQ(fields,
              (QStringList { "(ignore)", "(ignore)", "Description", "Location", "Category",
                             "Purchase Price", "Purchase Date" }));
    EXPECT_EQ(ui.messages().back().text,
              QStringLiteral("2 assets imported into Maple Court, 0 rows skipped."));
    EXPECT_EQ(day("PurchaseDate", QStringLiteral("Description='Desk'")), QDate(1999, 12, 31));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 7);
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Areas;")), 5);
}

TEST_F(ImportDialog, ARowOfTheVideoCategoryBecomesATitleWithItsGenreAndYear)
{
    const QString path = write(QStringLiteral("films.csv"),
                               "Name,Category,Genre,Warranty\r\n"
                               "Alien,videos,Science Fiction,1979-05-25\r\n"
                               "Heat,Videos,Crime,\r\n");
    QString first, second;
    ASSERT_TRUE(importFile(path, [&](QDialog &d) {
        first = cell(d, "previewRows", 0, QStringLiteral("Will be"));
        second = cell(d, "previewRows", 1, QStringLiteral("Will be"));
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_EQ(first, QStringLiteral("New video title (release year 1979)"));
    EXPECT_EQ(second, QStringLiteral("New video title (release year 2000)"));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE CategoryId=19;")), 2);
    EXPECT_EQ(text(QStringLiteral("SELECT MakeModel FROM Assets WHERE Description='Alien';")),
              QStringLiteral("Science Fiction"));
    EXPECT_EQ(day("WarrantyExpiration", QStringLiteral("Description='Alien'")), QDate(1979, 1, 1))
        << "a title keeps its release year there";
    EXPECT_EQ(day("WarrantyExpiration", QStringLiteral("Description='Heat'")), QDate(2000, 1, 1));
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Categories;")), 30) << "no new category";
}

TEST_F(ImportDialog, AFileWithoutHeadersWaitsForTheDescriptionColumn)
{
    const QString path = write(QStringLiteral("plain.csv"), "Sofa,1250,5/14/19\nLamp,12,5/14/19\n");
    bool headers = true, blockedFirst = false;
    QString note, summary, header;
    ASSERT_TRUE(importFile(path, [&](QDialog &d) {
        headers = d.findChild<QCheckBox *>(QStringLiteral("headers"))->isChecked();
        blockedFirst = !d.findChild<QPushButton *>(QStringLiteral("import"))->isEnabled();
        note = Fill::textOf(d, QStringLiteral("columnNote"));
        header = d.findChild<QTableWidget *>(QStringLiteral("columns"))->item(0, 0)->text();
        chooseField(d, 1, QStringLiteral("Description"));
        chooseField(d, 2, QStringLiteral("Current Value"));
        summary = Fill::textOf(d, QStringLiteral("summary"));
        Fill::click(d, QStringLiteral("import"));
    }));
    EXPECT_FALSE(headers);
    EXPECT_TRUE(blockedFirst);
    EXPECT_EQ(note,
              QStringLiteral("Choose the column that holds each asset's description: it is "
                             "the one field every asset needs."));
    EXPECT_EQ(header, QStringLiteral("Column 1"));
    EXPECT_EQ(summary, QStringLiteral("2 rows will be imported, 0 will be skipped"));
    EXPECT_EQ(real(QStringLiteral("SELECT SUM(CurrentValue) FROM Assets;")), 1262);
    EXPECT_TRUE(day("PurchaseDate", QStringLiteral("1")).isNull())
        << "an unmapped column is left out";
}

TEST_F(ImportDialog, BadFilesGetAClearMessageAndChangeNothing)
{
    const QByteArray before = bytesOf(env.dataFile());
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *message;
    } cases[] = {
        { "empty.csv", QByteArray(),
          "\"empty.csv\" cannot be imported.\n\nThe file is empty: it holds no rows to import." },
        { "photo.csv", QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF\0\x01", 12),
          "\"photo.csv\" cannot be imported.\n\nThe file is not a text file. Please choose a CSV "
          "or text file; a spreadsheet must first be saved as CSV." },
        { "blank.csv", ",,,\r\n,,\r\n\r\n",
          "\"blank.csv\" cannot be imported.\n\nThe file has no column to import: no row holds "
          "a value." },
        { "long.csv", "Name\r\n" + QByteArray(2 * 1024 * 1024, 'x') + "\r\n",
          "\"long.csv\" cannot be imported.\n\nLine 2 of the file is longer than a megabyte; no "
          "inventory has such lines. Please make sure it is the file you meant." },
        { "quote.csv", "Name,Notes\r\nSofa,\"never closed\r\nLamp,x\r\n",
          "\"quote.csv\" cannot be imported.\n\nRow 2 opens a quoted cell that is never closed. "
          "Please check the quotes in that row." },
    };
    for (const auto &c : cases) {
        const qsizetype shown = ui.messages().size();
        EXPECT_FALSE(importFile(write(QLatin1String(c.name), c.bytes), nullptr)) << c.name;
        ASSERT_EQ(ui.messages().size(), shown + 1) << c.name;
        EXPECT_EQ(ui.messages().back().text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Warning);
    }
    EXPECT_TRUE(ui.dialogTitles().isEmpty()) << "no dialog for a file that cannot be imported";
    // A file that cannot be opened says so; choosing no file says nothing.
    EXPECT_FALSE(importFile(files.filePath(QStringLiteral("gone.csv")), nullptr));
    EXPECT_TRUE(
        ui.messages().back().text.startsWith(QStringLiteral("\"gone.csv\" could not be opened")));
    const qsizetype shown = ui.messages().size();
    EXPECT_FALSE(Import::importInventory(nullptr, db, home));
    EXPECT_EQ(ui.messages().size(), shown);
    EXPECT_EQ(bytesOf(env.dataFile()), before);
}

TEST_F(ImportDialog, CancelAndACancelledImportLeaveTheDataFileExactlyAsItWas)
{
    QByteArray rowsText = "Name,Room,Category,Price\r\n";
    for (int i = 0; i < 3000; ++i)
        rowsText += "Asset " + QByteArray::number(i) + ",Room " + QByteArray::number(i % 7)
            + ",Kind " + QByteArray::number(i % 5) + "," + QByteArray::number(i) + ".25\r\n";
    const QString path = write(QStringLiteral("many.csv"), rowsText);
    const QByteArray before = bytesOf(env.dataFile());

    // Cancel: the dialog closes, nothing is imported.
    EXPECT_FALSE(importFile(path, [](QDialog &d) { Fill::click(d, QStringLiteral("cancel")); }));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(bytesOf(env.dataFile()), before);

    // Cancel in the progress window, part way through the rows.
    longWork.emplace();
    QString label;
    bool stillOpen = false;
    int cancelledAt = -1;
    EXPECT_FALSE(importFile(path, [&](QDialog &d) {
        QTimer::singleShot(0, &d, [&] {
            QProgressDialog *progress = Ui::busyWindow().dialog();
            ASSERT_NE(progress, nullptr);
            label = progress->findChild<QLabel *>(QStringLiteral("busyLabel"))->text();
            cancelledAt = progress->findChild<QProgressBar *>(QStringLiteral("busyBar"))->value();
            progress->findChild<QPushButton *>(QStringLiteral("busyCancel"))->click();
        });
        Fill::click(d, QStringLiteral("import"));
        stillOpen = d.isVisible();
    }));
    EXPECT_EQ(label, QStringLiteral("Importing the inventory..."));
    EXPECT_LT(cancelledAt, 1000) << "cancelled before the end";
    EXPECT_TRUE(stillOpen) << "the dialog stays, to import or cancel";
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("The import was cancelled. Nothing was changed."));
    EXPECT_EQ(bytesOf(env.dataFile()), before);
    EXPECT_EQ(real(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 0);

    // Cancel while the dialog's preview reads the file: the dialog says so, and Import waits.
    QString stopped;
    bool importable = true;
    QTimer::singleShot(0, [] {
        if (QProgressDialog *progress = Ui::busyWindow().dialog())
            progress->findChild<QPushButton *>(QStringLiteral("busyCancel"))->click();
    });
    EXPECT_FALSE(importFile(path, [&](QDialog &d) {
        stopped = Fill::textOf(d, QStringLiteral("summary"));
        importable = d.findChild<QPushButton *>(QStringLiteral("import"))->isEnabled();
    }));
    EXPECT_EQ(stopped,
              QStringLiteral("The reading was stopped before the end of the file, so the "
                             "preview is not complete. Change a setting above to read "
                             "the file again."));
    EXPECT_FALSE(importable);
    EXPECT_EQ(bytesOf(env.dataFile()), before);
}

TEST(ImportCommand, TheFileMenuAndTheInventoryPopupImportIntoTheCurrentHomeAndShowIt)
{
    ProgramRun run;
    run.seedHomes({ { 1, QStringLiteral("Lake house") }, { 2, QStringLiteral("Cabin") } });
    CMainFrame &frame = run.start();
    frame.OnSelectHome();
    EXPECT_FALSE(frame.isCommandEnabled(Command::ImportInventory));
    ASSERT_TRUE(frame.SetCurrentHome(2));

    // Under Export in the File menu.
    QMenu *file = frame.menuBar()->actions().first()->menu();
    const QList<QAction *> entries = file->actions();
    const auto exportAt = entries.indexOf(frame.action(Command::ExportInventory));
    ASSERT_GE(exportAt, 0);
    EXPECT_EQ(entries.value(exportAt + 1), frame.action(Command::ImportInventory));
    EXPECT_EQ(frame.action(Command::ImportInventory)->text(),
              QStringLiteral("&Import Inventory Data..."));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cabin.csv"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("Name,Room,Value\r\nCanoe,Boathouse,$300.00\r\nPaddle,Boathouse,$20.00\r\n");
    }
    run.ui.nextFileName(path);
    run.ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("import")); });
    frame.action(Command::ImportInventory)->trigger();
    EXPECT_EQ(run.ui.dialogTitles().last(), QStringLiteral("Import Inventory Data"));
    EXPECT_EQ(run.ui.messageTexts().last(),
              QStringLiteral("2 assets imported into Cabin, 0 rows skipped."));
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::InventoryIndex);
    EXPECT_EQ(frame.inventoryView()->list()->GetItemCount(), 2);
    EXPECT_EQ(frame.filledInventoryTotal().value_or(-1), 320.0);

    // The Home Inventory's popup offers it too, before the report.
    frame.ShowContextMenu();
    const QList<QAction *> popup = frame.contextMenu()->actions();
    frame.contextMenu()->hide();
    const auto importAt =
        popup.indexOf(frame.commandActions(Command::ImportInventory).value(1, nullptr));
    ASSERT_GE(importAt, 0);
    EXPECT_TRUE(popup[importAt]->isVisible());
    EXPECT_TRUE(popup.last()->text().contains(QStringLiteral("Report")));
    frame.ShowView(CMainFrame::TasksIndex);
    frame.ShowContextMenu();
    frame.contextMenu()->hide();
    EXPECT_FALSE(popup[importAt]->isVisible());
}

} // namespace
