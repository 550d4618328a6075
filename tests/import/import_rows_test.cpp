// Reading one row into an asset: amounts and dates in the user's locale, the export's forms and
// ISO 8601; which header goes into which field; what makes a row unimportable.
#include "exchange/import_rows.h"
#include "format/display_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Import::Field;

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kFrench(QLocale::French, QLocale::France);
const QLocale kSwiss(QLocale::German, QLocale::Switzerland);

TEST(ImportValues, ReadsAmountsInTheLocaleTheExportsFormsAndPlainNumbers)
{
    const struct
    {
        QLocale locale;
        const char *text;
        double value; // NAN: no amount
    } cases[] = {
        { kUs, "$1,250.00", 1250 },
        { kUs, "1250", 1250 },
        { kUs, "1,250", 1250 },
        { kUs, "($1,250.50)", -1250.5 }, // how the locale writes a negative amount
        { kUs, "-$5.00", -5 },
        { kUs, "$-5.00", -5 },
        { kUs, "0.004", 0.004 },
        { kUs, ".5", 0.5 },
        { kUs, "USD 12.50", 12.5 },
        { kUs, "€ 12.50", 12.5 },
        { kUs, "1.250,00 €", 1250 }, // both marks: the last one is the decimal mark
        { kUs, "1,25", NAN }, // a group of two digits: not an amount
        { kUs, "12 50", NAN },
        { kUs, "abc", NAN },
        { kUs, "12abc", NAN },
        { kUs, "$", NAN },
        { kUs, "1.2.3", NAN },
        { kUs, "1e5", NAN },
        { kUs, "2000000000000", NAN }, // no household's figure
        { kGerman, "1.250,00 €", 1250 },
        { kGerman, "-1.250,50 €", -1250.5 },
        { kGerman, "1250", 1250 },
        { kGerman, "1.250", 1250 }, // the locale's grouping wins
        { kGerman, "149.99", 149.99 }, // a decimal point other programs write
        { kGerman, "12,5", 12.5 },
        { kGerman, "1,250.00", 1250 },
        { kFrench, "1\u202F250,00\u00A0€", 1250 },
        { kFrench, "1 250,00 €", 1250 },
        { kSwiss, "1’250.00 CHF", 1250 },
    };
    for (const auto &c : cases) {
        const Import::Values values(c.locale);
        const auto read = values.amount(QString::fromUtf8(c.text));
        if (std::isnan(c.value)) {
            EXPECT_FALSE(read.has_value()) << c.text << " in " << c.locale.name().toStdString();
        } else {
            ASSERT_TRUE(read.has_value()) << c.text << " in " << c.locale.name().toStdString();
            EXPECT_DOUBLE_EQ(*read, c.value) << c.text;
        }
    }
    // Whatever the export writes in a locale reads back as the amount.
    for (const QLocale &locale : { kUs, kGerman, kFrench, kSwiss }) {
        const Import::Values values(locale);
        for (double amount : { 0.0, 0.01, 12.5, 1234.56, 999999.99, -80.25 }) {
            const QString text = moneyText(amount, locale);
            const auto read = values.amount(text);
            ASSERT_TRUE(read.has_value()) << text.toStdString();
            EXPECT_DOUBLE_EQ(*read, amount) << text.toStdString();
        }
    }
}

TEST(ImportValues, ReadsDatesWithTheTwoDigitYearRuleIsoAndTimesAfterThem)
{
    const struct
    {
        QLocale locale;
        const char *text;
        QDate date; // null: no date
    } cases[] = {
        { kUs, "5/14/19", QDate(2019, 5, 14) }, // the export's short date
        { kUs, "05/14/19", QDate(2019, 5, 14) },
        { kUs, "1/1/30", QDate(1930, 1, 1) }, // two-digit years fall in 1930..2029
        { kUs, "12/31/29", QDate(2029, 12, 31) },
        { kUs, "5/14/2019", QDate(2019, 5, 14) },
        { kUs, "5/14/1925", QDate(1925, 5, 14) },
        { kUs, "2019-05-14", QDate(2019, 5, 14) },
        { kUs, "2019-05-14T10:30:00Z", QDate(2019, 5, 14) },
        { kUs, "5/14/2019 0:00", QDate(2019, 5, 14) },
        { kUs, "Tuesday, May 14, 2019", QDate(2019, 5, 14) },
        { kUs, " 5/14/19 ", QDate(2019, 5, 14) },
        { kUs, "12/31/99x", QDate() },
        { kUs, "2/30/19", QDate() },
        { kUs, "14/5/19", QDate() },
        { kUs, "5/14", QDate() },
        { kUs, "yesterday", QDate() },
        { kUs, "2019-13-01", QDate() },
        { kGerman, "14.05.19", QDate(2019, 5, 14) },
        { kGerman, "14.05.2019", QDate(2019, 5, 14) },
        { kGerman, "2019-05-14", QDate(2019, 5, 14) },
        { kFrench, "14/05/2019", QDate(2019, 5, 14) },
        { kFrench, "14/05/19", QDate(2019, 5, 14) },
    };
    for (const auto &c : cases) {
        Import::Values values(c.locale);
        // Twice: the second answer comes from the values' memory of texts already read.
        for (int pass = 0; pass < 2; ++pass) {
            const auto read = values.date(QString::fromUtf8(c.text));
            EXPECT_EQ(read.value_or(QDate()), c.date)
                << c.text << " in " << c.locale.name().toStdString();
        }
    }
}

TEST(ImportFields, MapsTheExportsHomeboxesAndCommonHeadersInAnyCase)
{
    const struct
    {
        const char *header;
        Field field;
    } cases[] = {
        { "Category", Field::Category },
        { "Asset", Field::Description },
        { "Current Value", Field::CurrentValue },
        { "Purchase Price", Field::PurchasePrice },
        { "Purchase Date", Field::PurchaseDate },
        { "Make/Model", Field::MakeModel },
        { "Dealer/Store", Field::Vendor },
        { "Location", Field::Location },
        { "Replacement Value", Field::ReplacementValue },
        { "Warranty Expires", Field::WarrantyExpires },
        { "Serial #", Field::SerialNumber },
        { "Phone #", Field::Phone },
        { "HB.name", Field::Description },
        { "HB.location", Field::Location },
        { "HB.description", Field::Notes },
        { "HB.purchase_price", Field::PurchasePrice },
        { "HB.purchase_from", Field::Vendor },
        { "HB.purchase_time", Field::PurchaseDate },
        { "HB.manufacturer", Field::MakeModel },
        { "HB.serial_number", Field::SerialNumber },
        { "HB.warranty_expires", Field::WarrantyExpires },
        { "HB.quantity", Field::Ignore },
        { "HB.sold_price", Field::Ignore },
        { "hb.NAME", Field::Description },
        { "NAME", Field::Description },
        { "item", Field::Description },
        { "Room", Field::Location },
        { "price", Field::PurchasePrice },
        { "COST", Field::PurchasePrice },
        { "Value", Field::CurrentValue },
        { "Brand", Field::MakeModel },
        { "manufacturer", Field::MakeModel },
        { "Model", Field::MakeModel },
        { "Store", Field::Vendor },
        { "vendor", Field::Vendor },
        { "Serial", Field::SerialNumber },
        { "serial_number", Field::SerialNumber },
        { "Serial Number", Field::SerialNumber },
        { "Warranty", Field::WarrantyExpires },
        { "Purchased", Field::PurchaseDate },
        { "date", Field::PurchaseDate },
        { "  Notes  ", Field::Notes },
        { "Picture", Field::Picture },
        { "Quantity", Field::Ignore },
        { "", Field::Ignore },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Import::fieldForHeader(QString::fromUtf8(c.header)), c.field) << c.header;

    // The first column claims a field; a later one naming it again is left out.
    EXPECT_EQ(Import::fieldsForHeaders({ "Name", "Brand", "Model", "Price", "Cost", "Quantity" }),
              (std::vector<Field> { Field::Description, Field::MakeModel, Field::Ignore,
                                    Field::PurchasePrice, Field::Ignore, Field::Ignore }));

    Import::Values values(kUs);
    EXPECT_TRUE(Import::looksLikeHeaders({ "Thing", "Price" }, values)) << "one known name";
    EXPECT_TRUE(Import::looksLikeHeaders({ "Thing", "Colour" }, values)) << "all text";
    EXPECT_FALSE(Import::looksLikeHeaders({ "Sofa", "$1,250.00" }, values));
    EXPECT_FALSE(Import::looksLikeHeaders({ "Sofa", "5/14/19" }, values));
    EXPECT_FALSE(Import::looksLikeHeaders({ "Sofa", "" }, values));
}

TEST(ImportRows, ConvertsARowAndSaysWhyOneCannotBeImported)
{
    const std::vector<Field> fields = { Field::Description, Field::PurchasePrice,
                                        Field::PurchaseDate, Field::Notes, Field::Ignore };
    Import::RowConverter converter(fields, kUs);
    Import::Row row;
    std::vector<Import::Problem> problems;

    ASSERT_TRUE(
        converter.convert({ "Sofa", "$1,250.00", "5/14/19", "'=SUM(1,2)", "x" }, row, problems));
    EXPECT_EQ(row.description, QStringLiteral("Sofa"));
    EXPECT_DOUBLE_EQ(row.purchasePrice, 1250);
    EXPECT_EQ(row.purchaseDate, QDate(2019, 5, 14));
    EXPECT_EQ(row.notes, QStringLiteral("=SUM(1,2)")) << "the export's apostrophe comes off";
    EXPECT_TRUE(row.has(Field::Notes));
    EXPECT_FALSE(row.has(Field::Category));

    // Fewer cells than columns: the rest are empty, and empty cells fill nothing.
    ASSERT_TRUE(converter.convert({ "Lamp" }, row, problems));
    EXPECT_EQ(row.purchasePrice, 0);
    EXPECT_FALSE(row.purchaseDate.isValid()) << "no date, never today's";
    EXPECT_EQ(row.filled, 1u << int(Field::Description));
    EXPECT_TRUE(problems.empty());

    EXPECT_FALSE(converter.convert({ "", "abc", "12/31/99x", "", "", "extra" }, row, problems));
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].column, 5);
    EXPECT_EQ(problems[0].why, QStringLiteral("the row has 6 cells, the file 5 columns"));
    EXPECT_EQ(problems[1].column, 1);
    EXPECT_EQ(problems[1].why, QStringLiteral("'abc' is not an amount"));
    EXPECT_EQ(problems[2].column, 2);
    EXPECT_EQ(problems[2].text, QStringLiteral("12/31/99x"));
    EXPECT_EQ(problems[2].why, QStringLiteral("'12/31/99x' is not a date"));
    EXPECT_EQ(problems[3].column, 0);
    EXPECT_EQ(problems[3].why, QStringLiteral("no description"));
    problems.clear();
    EXPECT_TRUE(converter.convert({ "Rug", "", "", "", "", "", "" }, row, problems))
        << "trailing empty cells are a spreadsheet's, not a shifted row";
}

} // namespace
