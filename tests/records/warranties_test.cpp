// The warranty overview's groups, counts and texts, read from a real data file.
#include "db/added_tables.h"
#include "format/display_text.h"
#include "records/home_figures.h"
#include "records/warranties.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class WarrantiesTest : public DataFileTest
{
protected:
    // An asset of home 1 whose warranty ends daysLeft days after today (at the given time of
    // day, as a fraction), in category 1 unless told.
    void add(qint32 id, const QString &description, double daysLeft, qint32 category = 1,
             qint32 home = 1)
    {
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, "
                           "WarrantyExpiration) VALUES (%1, %2, %3, '%4', %5);")
                .arg(id)
                .arg(home)
                .arg(category)
                .arg(description)
                .arg(COleDateTime::fromDate(today).days() + daysLeft, 0, 'f', 6));
    }

    QDate today { 2026, 3, 15 };
};

TEST_F(WarrantiesTest, GroupsMeetAtTheirEdges)
{
    add(1, QStringLiteral("ended 31 days ago"), -31);
    add(2, QStringLiteral("ended 30 days ago"), -30);
    add(3, QStringLiteral("ended yesterday"), -1 + 0.9);
    add(4, QStringLiteral("ends today, late"), 0.75);
    add(5, QStringLiteral("ends in 30"), 30);
    add(6, QStringLiteral("ends in 31"), 31);
    add(7, QStringLiteral("ends in 365"), 365);
    add(8, QStringLiteral("ends in 366"), 366);
    add(9, QStringLiteral("a video from this year"), 5, 19);
    add(10, QStringLiteral("another home"), 5, 1, 2);
    add(11, QStringLiteral("also ends today"), 0);
    run(QStringLiteral(
        "INSERT INTO Assets (AssetId, HomeId, Description) VALUES (12, 1, 'none');"));
    run(QStringLiteral("INSERT INTO Areas (AreaId, HomeId, Description) VALUES (7, 1, 'Garage');"));
    run(QStringLiteral("UPDATE Assets SET AreaId=7 WHERE AssetId=5;"));

    const std::vector<Warranties::Entry> entries = Warranties::list(db, 1, today);
    QStringList seen;
    for (const Warranties::Entry &e : entries)
        seen << QStringLiteral("%1|%2|%3|%4")
                    .arg(e.description)
                    .arg(int(e.group))
                    .arg(Warranties::daysText(e.daysLeft), e.location);
    EXPECT_EQ(seen,
              (QStringList { "ended 30 days ago|0|ended 30 days ago|",
                             "ended yesterday|0|ended 1 day ago|", "also ends today|1|ends today|",
                             "ends today, late|1|ends today|", "ends in 30|1|30 days left|Garage",
                             "ends in 31|2|31 days left|", "ends in 365|2|365 days left|" }));
    EXPECT_EQ(entries[2].date.date(), today);

    const Warranties::Counts counts = Warranties::count(db, 1, today);
    EXPECT_EQ(counts.ended, 2);
    EXPECT_EQ(counts.ending, 3);
    EXPECT_EQ(Warranties::count(db, 3, today).ending, 0);
    EXPECT_EQ(Warranties::daysText(1), QStringLiteral("1 day left"));
}

TEST_F(WarrantiesTest, TheNoWarrantyYearNeverCounts)
{
    today = QDate(2000, 12, 20);
    add(1, QStringLiteral("no warranty (stored in 2000)"), 5);
    add(2, QStringLiteral("ends on 5 January 2001"), 16);
    add(3, QStringLiteral("in 2000 as well"), -10);
    const Warranties::Counts counts = Warranties::count(db, 1, today);
    EXPECT_EQ(counts.ended, 0);
    EXPECT_EQ(counts.ending, 1);
    ASSERT_EQ(Warranties::list(db, 1, today).size(), 1u);
    EXPECT_EQ(Warranties::list(db, 1, today)[0].assetId, 2);
}

TEST_F(WarrantiesTest, TheTodayLineSaysWhatThereIsInWholeSentences)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const struct
    {
        int ended, ending;
        const char *line;
    } cases[] = {
        { 0, 0, "" },
        { 1, 0, "1 warranty ended in the last 30 days" },
        { 3, 0, "3 warranties ended in the last 30 days" },
        { 0, 1, "1 warranty ends within 30 days" },
        { 0, 2, "2 warranties end within 30 days" },
        { 2, 1, "1 warranty ends within 30 days, 2 ended in the last 30 days" },
        { 1, 1234, "1,234 warranties end within 30 days, 1 ended in the last 30 days" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Warranties::todayLine({ c.ended, c.ending }, us), QString::fromLatin1(c.line))
            << c.line;
    EXPECT_EQ(Warranties::todayLine({ 0, 1234 }, QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("1.234 warranties end within 30 days"));
}

TEST_F(WarrantiesTest, TheCountsReadTheirIndexAloneWhichAnOlderFileGetsAtOpen)
{
    auto plan = [this] {
        CADORecordset rs(db);
        EXPECT_TRUE(
            rs.Open(QStringLiteral("EXPLAIN QUERY PLAN ") + Warranties::countStatement(1, today),
                    CADORecordset::openQuery));
        QString detail;
        for (; !rs.IsEof(); rs.MoveNext()) {
            QString step;
            rs.GetString(QStringLiteral("detail"), step);
            detail += step + QLatin1Char(';');
        }
        return detail;
    };
    EXPECT_TRUE(plan().contains(QStringLiteral("COVERING INDEX AssetsWarrantyByHome")))
        << plan().toStdString();

    // A file from before the index: the statement still answers, and gets its index back.
    add(1, QStringLiteral("soon"), 3);
    run(QStringLiteral("DROP INDEX AssetsWarrantyByHome;"));
    EXPECT_FALSE(plan().contains(QStringLiteral("AssetsWarrantyByHome")));
    EXPECT_EQ(Warranties::count(db, 1, today).ending, 1);
    ASSERT_TRUE(AddedTables::ensure(db));
    EXPECT_TRUE(plan().contains(QStringLiteral("COVERING INDEX AssetsWarrantyByHome")));

    // Once there, asking again writes nothing: the file's stamp stays.
    const QByteArray stamp = HomeFigures::fileStamp(db);
    ASSERT_FALSE(stamp.isEmpty());
    ASSERT_TRUE(AddedTables::ensure(db));
    EXPECT_EQ(HomeFigures::fileStamp(db), stamp);
}

} // namespace
