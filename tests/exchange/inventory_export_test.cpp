#include "exchange/inventory_export.h"
#include "format/display_text.h"
#include "support/data_file_test.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

using InventoryExport::CategoryChoice;

struct AssetRow
{
    qint32 id;
    qint32 category = 0;
    qint32 area = 0;
    QString description {};
    QString makeModel {};
    QString vendor {};
    QString serial {};
    QString phone {};
    double current = 0;
    double price = 0;
    double replacement = 0;
    double purchased = 0; // day count; 0 = none stored
    double warranty = 0;
};

class InventoryExportTest : public DataFileTest
{
protected:
    static constexpr qint32 kHome = 7;

    void SetUp() override
    {
        DataFileTest::SetUp();
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (%1, 'Lake house');")
                .arg(kHome));
        report.homeId = kHome;
        report.homeDescription = QStringLiteral("Lake house");
        report.today = QDate(2024, 3, 9);
        report.locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }

    // Stores an asset of the home: numbers in the statement, texts as values.
    void addAsset(const AssetRow &a, qint32 home = kHome)
    {
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, AreaId, CurrentValue, "
                           "PurchasePrice, ReplacementValue) VALUES (%1, %2, %3, %4, %5, %6, %7);")
                .arg(a.id)
                .arg(home)
                .arg(a.category)
                .arg(a.area)
                .arg(a.current)
                .arg(a.price)
                .arg(a.replacement));
        CADORecordset rs(db);
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets WHERE AssetId=%1;").arg(a.id)));
        rs.Edit();
        rs.SetString(QStringLiteral("Description"), a.description);
        rs.SetString(QStringLiteral("MakeModel"), a.makeModel);
        rs.SetString(QStringLiteral("Vendor"), a.vendor);
        rs.SetString(QStringLiteral("SerialNumber"), a.serial);
        rs.SetString(QStringLiteral("Phone1"), a.phone);
        if (a.purchased != 0)
            rs.SetDate(QStringLiteral("PurchaseDate"), COleDateTime(a.purchased));
        if (a.warranty != 0)
            rs.SetDate(QStringLiteral("WarrantyExpiration"), COleDateTime(a.warranty));
        ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
    }

    void addArea(qint32 id, const QString &description)
    {
        run(QStringLiteral("INSERT INTO Areas (AreaId, HomeId) VALUES (%1, %2);")
                .arg(id)
                .arg(kHome));
        CADORecordset rs(db);
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Areas WHERE AreaId=%1;").arg(id)));
        rs.Edit();
        rs.SetString(QStringLiteral("Description"), description);
        ASSERT_TRUE(rs.Update());
    }

    QByteArray exported()
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QString error;
        EXPECT_TRUE(InventoryExport::write(db, report, buffer, &error)) << error.toStdString();
        return buffer.data();
    }

    // The report's lines without the byte-order mark, split at CR LF.
    QStringList lines()
    {
        QByteArray bytes = exported();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    }

    QString money(double v) { return moneyText(float(v), report.locale); }
    QString shortDate(double days) { return dateText(COleDateTime(days), false, report.locale); }

    InventoryExport::Report report;
};

const QString kHeader = QStringLiteral(
    "\"Category\",\"Asset\",\"Current Value\",\"Purchase Price\",\"Purchase Date\","
    "\"Make/Model\",\"Dealer/Store\",\"Location\",\"Replacement Value\",\"Warranty Expires\","
    "\"Serial #\",\"Phone #\"");

TEST_F(InventoryExportTest, AHomeWithoutAssetsGivesTheFiveLineReport)
{
    addAsset({ .id = 1, .description = QStringLiteral("Elsewhere") }, kHome + 1);
    const QByteArray bytes = exported();
    const QByteArray expected = "\xEF\xBB\xBF\"Home Inventory Report for Lake house\"\r\n\r\n"
        + kHeader.toUtf8() + "\r\n\r\n\"Created by Domelio on "
        + dateText(COleDateTime::fromDate(report.today), true, report.locale).toUtf8() + "\"";
    EXPECT_EQ(bytes, expected);
    EXPECT_FALSE(bytes.endsWith("\n")) << "the closing line has no line end";
}

TEST_F(InventoryExportTest, AssetLinesCarryTheTwelveFieldsInReportOrder)
{
    addArea(50, QStringLiteral("Garage"));
    addArea(51, QStringLiteral("Attic"));
    // Tools (17) sorts after Appliances (1); within a category, by description, then location.
    addAsset({ .id = 1,
               .category = 17,
               .area = 50,
               .description = QStringLiteral("Drill"),
               .makeModel = QStringLiteral("DX-2"),
               .vendor = QStringLiteral("Hardware Hut"),
               .serial = QStringLiteral("SN1"),
               .phone = QStringLiteral("555-0100"),
               .current = 80.5,
               .price = 120,
               .replacement = 150,
               .purchased = 37000,
               .warranty = 37800 });
    addAsset({ .id = 2,
               .category = 1,
               .area = 51,
               .description = QStringLiteral("Freezer"),
               .current = 1234.56 });
    addAsset({ .id = 3, .category = 17, .area = 51, .description = QStringLiteral("Drill") });
    addAsset({ .id = 4, .description = QStringLiteral("Unsorted box") });

    const QStringList l = lines();
    ASSERT_EQ(l.size(), 9);
    EXPECT_EQ(l[0], QStringLiteral("\"Home Inventory Report for Lake house\""));
    EXPECT_EQ(l[1], QString());
    EXPECT_EQ(l[2], kHeader);
    // No category sorts first (NULL before any description).
    EXPECT_TRUE(l[3].startsWith(QStringLiteral("\"\",\"Unsorted box\",")));
    EXPECT_EQ(l[4],
              QStringLiteral("\"Appliances\",\"Freezer\",\"%1\",\"%2\",\"\",\"\",\"\",\"Attic\","
                             "\"%2\",\"\",\"\",\"\"")
                  .arg(money(1234.56), money(0)));
    EXPECT_TRUE(l[5].startsWith(QStringLiteral("\"Tools\",\"Drill\",")));
    EXPECT_TRUE(l[5].contains(QStringLiteral("\"Attic\"")));
    EXPECT_EQ(l[6],
              QStringLiteral("\"Tools\",\"Drill\",\"%1\",\"%2\",\"%3\",\"DX-2\",\"Hardware Hut\","
                             "\"Garage\",\"%4\",\"%5\",\"SN1\",\"555-0100\"")
                  .arg(money(80.5), money(120), shortDate(37000), money(150), shortDate(37800)));
    EXPECT_EQ(l[7], QString());
    EXPECT_TRUE(l[8].startsWith(QStringLiteral("\"Created by Domelio on ")));
}

TEST_F(InventoryExportTest, VideoTitlesAndYear2000WarrantiesExportBlankFields)
{
    addArea(50, QStringLiteral("Den"));
    const double jan2000 = COleDateTime(2000, 1, 1).days();
    const double dec2000 = COleDateTime(2000, 12, 31).days();
    const double jan2001 = COleDateTime(2001, 1, 1).days();
    // A video title with every field that a video does not use filled in anyway.
    addAsset({ .id = 1,
               .category = 19,
               .area = 50,
               .description = QStringLiteral("Vertigo"),
               .makeModel = QStringLiteral("Suspense"),
               .vendor = QStringLiteral("Shop"),
               .serial = QStringLiteral("S"),
               .phone = QStringLiteral("P"),
               .current = 9,
               .purchased = 36000,
               .warranty = COleDateTime(1958, 1, 1).days() });
    addAsset(
        { .id = 2, .category = 7, .description = QStringLiteral("A radio"), .warranty = jan2000 });
    addAsset(
        { .id = 3, .category = 7, .description = QStringLiteral("B radio"), .warranty = dec2000 });
    addAsset(
        { .id = 4, .category = 7, .description = QStringLiteral("C radio"), .warranty = jan2001 });

    const QStringList l = lines();
    ASSERT_EQ(l.size(), 9);
    auto fields = [](const QString &line) {
        return line.mid(1, line.size() - 2).split(QStringLiteral("\",\""));
    };
    const QStringList a = fields(l[3]), b = fields(l[4]), c = fields(l[5]), video = fields(l[6]);
    EXPECT_EQ(a[1], QStringLiteral("A radio"));
    EXPECT_EQ(a[9], QString());
    EXPECT_EQ(b[9], QString());
    EXPECT_EQ(c[9], shortDate(jan2001));
    EXPECT_FALSE(c[9].isEmpty());

    ASSERT_EQ(video.size(), 12);
    EXPECT_EQ(video[0], QStringLiteral("Videos"));
    EXPECT_EQ(video[1], QStringLiteral("Vertigo"));
    EXPECT_EQ(video[2], money(9));
    EXPECT_EQ(video[4], shortDate(36000));
    EXPECT_EQ(video[5], QStringLiteral("Suspense")) << "the genre stays";
    for (int blank : { 6, 7, 9, 10, 11 })
        EXPECT_EQ(video[blank], QString()) << "field " << blank + 1;
}

TEST_F(InventoryExportTest, UntickedCategoriesAreLeftOutButUncategorisedAssetsNeverAre)
{
    addAsset({ .id = 1, .category = 7, .description = QStringLiteral("Radio") });
    addAsset({ .id = 2, .category = 8, .description = QStringLiteral("Sofa") });
    addAsset({ .id = 3, .description = QStringLiteral("No category") });
    // A task category on an asset is not in the dialog's list, so it cannot be unticked.
    addAsset({ .id = 4, .category = 21, .description = QStringLiteral("Odd one") });

    for (const auto &c : InventoryExport::assetCategories(db))
        report.categories.add(c.id, false);
    QString all = lines().join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("\"No category\"")));
    EXPECT_TRUE(all.contains(QStringLiteral("\"Odd one\"")));
    EXPECT_FALSE(all.contains(QStringLiteral("\"Radio\"")));
    EXPECT_FALSE(all.contains(QStringLiteral("\"Sofa\"")));

    report.categories = CategoryChoice();
    for (const auto &c : InventoryExport::assetCategories(db))
        report.categories.add(c.id, c.id == 8);
    all = lines().join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("\"Sofa\"")));
    EXPECT_FALSE(all.contains(QStringLiteral("\"Radio\"")));
}

TEST(CategoryChoiceTest, FollowsTheFirstRowOfAnIdAndPassesUnlistedIds)
{
    CategoryChoice choice;
    EXPECT_TRUE(choice.includes(5)) << "an empty list exports everything";
    choice.add(5, false);
    choice.add(6, true);
    choice.add(5, true);
    EXPECT_FALSE(choice.includes(5));
    EXPECT_TRUE(choice.includes(6));
    EXPECT_TRUE(choice.includes(0));
    EXPECT_TRUE(choice.includes(99));
}

TEST_F(InventoryExportTest, AssetCategoriesAreTheKindOneRowsByDescription)
{
    const auto categories = InventoryExport::assetCategories(db);
    ASSERT_EQ(categories.size(), 19u);
    EXPECT_EQ(categories.front().description, QStringLiteral("Appliances"));
    EXPECT_EQ(categories.back().id, 19);
    EXPECT_EQ(categories.back().description, QStringLiteral("Videos"));
}

TEST(InventoryExportText, QuotesAreDoubledAndTheProposedNameFollowsTheHome)
{
    EXPECT_EQ(InventoryExport::quoted(QStringLiteral("12\" pizza, \"deluxe\"")),
              QStringLiteral("\"12\"\" pizza, \"\"deluxe\"\"\""));
    EXPECT_EQ(InventoryExport::quoted(QString()), QStringLiteral("\"\""));
    EXPECT_EQ(InventoryExport::proposedFileName(QStringLiteral("Lake house")),
              QStringLiteral("Lake house Inventory.csv"));
    EXPECT_EQ(InventoryExport::proposedFileName(QStringLiteral("Flat 3/12 \"Ost\"")),
              QStringLiteral("Flat 3-12 \"Ost\" Inventory.csv"));
}

TEST_F(InventoryExportTest, AFailedWriteIsReportedNotPassedOver)
{
    addAsset({ .id = 1, .description = QStringLiteral("Anything") });
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_FALSE(InventoryExport::write(db, report, readOnly, &error));
    EXPECT_FALSE(error.isEmpty());
}

// A real CSV reader (Python's csv module) must read every stored text back unchanged: quotes,
// commas, line breaks and letters outside Latin-1 included. A text a spreadsheet would run as a
// formula comes back behind an apostrophe; money never does (nor in locales that write a
// negative amount with a leading minus: MoneyFieldsAreTheMoneyTextOfTheLocale).
TEST_F(InventoryExportTest, ASpreadsheetReaderGetsEveryTextBackUnchanged)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    ASSERT_FALSE(python.isEmpty()) << "python3 is needed (scripts/deps installs it)";

    report.homeDescription = QStringLiteral("Villa \"Sonnenhang\", Zürich");
    addArea(50, QStringLiteral("Salle à manger, \"grande\""));
    addArea(51, QStringLiteral("-Cellar"));
    const AssetRow tricky[] = {
        { .id = 1,
          .category = 8,
          .area = 50,
          .description = QStringLiteral("12\" shelf, oak"),
          .makeModel = QStringLiteral("Line one\r\nline two"),
          .vendor = QStringLiteral("Möbel & Co\nBerlin"),
          .serial = QStringLiteral("\"\"\""),
          .phone = QStringLiteral("+49, 30") },
        { .id = 2,
          .category = 8,
          .area = 50,
          .description = QStringLiteral("Ελληνικό τραπέζι"),
          .makeModel = QStringLiteral("日本製 テーブル"),
          .vendor = QStringLiteral("Ωμέγα"),
          .serial = QStringLiteral("№ 7 — ĳ"),
          .phone = QStringLiteral("📞 1,2") },
        { .id = 3,
          .category = 8,
          .description = QStringLiteral(",leading comma"),
          .vendor = QStringLiteral("trailing quote\"") },
        { .id = 4,
          .category = 8,
          .area = 51,
          .description = QStringLiteral("=SUM(1,2)"),
          .makeModel = QStringLiteral("@Risk"),
          .vendor = QStringLiteral("\tTabbed"),
          .serial = QStringLiteral("\rreturn"),
          .phone = QStringLiteral("-5 \"= 3\""),
          .current = -12.5,
          .price = -0.25 },
    };
    // What a spreadsheet shows: formulas as text.
    auto shown = [](const QString &text) {
        const bool formula = !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text[0]);
        return formula ? QLatin1Char('\'') + text : text;
    };
    for (const AssetRow &a : tricky)
        addAsset(a);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.csv"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(InventoryExport::write(db, report, file));
    }
    QProcess reader;
    reader.start(python,
                 { QStringLiteral("-c"),
                   QStringLiteral("import csv, json, sys\n"
                                  "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                  "    rows = list(csv.reader(f))\n"
                                  "sys.stdout.write(json.dumps(rows))\n"),
                   path });
    ASSERT_TRUE(reader.waitForFinished(30000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(reader.readAllStandardOutput()).array();

    // title, empty, header, four assets, empty, created-by
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[0].toArray()[0].toString(),
              QStringLiteral("Home Inventory Report for ") + report.homeDescription);
    EXPECT_EQ(rows[2].toArray().size(), 12);
    std::map<QString, QJsonArray> byAsset;
    for (int i = 3; i < 7; ++i) {
        const QJsonArray fields = rows[i].toArray();
        ASSERT_EQ(fields.size(), 12) << "row " << i;
        byAsset[fields[1].toString()] = fields;
    }
    for (const AssetRow &a : tricky) {
        ASSERT_TRUE(byAsset.count(shown(a.description))) << a.description.toStdString();
        const QJsonArray f = byAsset[shown(a.description)];
        EXPECT_EQ(f[0].toString(), QStringLiteral("Furniture"));
        EXPECT_EQ(f[2].toString(), money(a.current));
        EXPECT_EQ(f[3].toString(), money(a.price));
        EXPECT_EQ(f[5].toString(), shown(a.makeModel));
        EXPECT_EQ(f[6].toString(), shown(a.vendor));
        EXPECT_EQ(f[7].toString(),
                  a.area == 50 ? QStringLiteral("Salle à manger, \"grande\"")
                      : a.area ? QStringLiteral("'-Cellar")
                               : QString());
        EXPECT_EQ(f[10].toString(), shown(a.serial));
        EXPECT_EQ(f[11].toString(), shown(a.phone));
    }
    EXPECT_TRUE(rows[8].toArray()[0].toString().startsWith(QStringLiteral("Created by Domelio")));
}

// Money fields are the program's money text in every locale, whether the report formats them
// itself or leaves it to the locale (other digits, other grouping, no decimals).
TEST_F(InventoryExportTest, MoneyFieldsAreTheMoneyTextOfTheLocale)
{
    QRandomGenerator random(20240309);
    std::vector<double> values = { 0,          0.004,  0.005, 2.675,   12.5,     999.995, 1000,
                                   1234567.25, -0.004, -12.5, -1000.5, 16777216, 4999.99, 0.1 };
    while (values.size() < 120)
        values.push_back((random.bounded(2) ? -1 : 1) * random.bounded(100000000) / 100.0);
    for (size_t i = 0; i < values.size(); ++i)
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, "
                           "CurrentValue) VALUES (%1, %2, 1, 'a%3', %4);")
                .arg(i + 1)
                .arg(kHome)
                .arg(i + 1000)
                .arg(values[i], 0, 'g', 17));
    for (const char *name : { "en_US", "de_DE", "fr_FR", "de_CH", "nl_NL", "en_IN", "ja_JP",
                              "ar_EG", "pt_BR", "sv_SE" }) {
        SCOPED_TRACE(name);
        report.locale = QLocale(QLatin1String(name));
        const QStringList l = lines();
        ASSERT_EQ(l.size(), int(values.size()) + 5);
        for (size_t i = 0; i < values.size(); ++i) {
            // Rows are ordered by description: a1000, a1001, ...
            const QStringList fields = l[3 + int(i)].split(QStringLiteral("\",\""));
            ASSERT_EQ(fields.size(), 12);
            EXPECT_EQ(fields[2], moneyText(float(values[i]), report.locale)) << values[i];
        }
    }
}

} // namespace
