#include "controls/combo_model.h"
#include "controls/list_model.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/record_ids.h"
#include "format/string_table.h"
#include "platform/busy.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class Lookup : public DataFileTest
{
protected:
    qint32 counter(const char *table)
    {
        return number(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='%1';")
                          .arg(QLatin1String(table)));
    }
};

TEST_F(Lookup, IdsAreConsecutiveAndNeverReused)
{
    const qint32 first = RecordIds::nextId(db, QStringLiteral("Assets"));
    const qint32 second = RecordIds::nextId(db, QStringLiteral("Assets"));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(counter("Assets"), 3);
    // The fixed video category is never handed out again.
    EXPECT_GT(RecordIds::nextId(db, QStringLiteral("Categories")), 19);
}

TEST_F(Lookup, IdAllocationFailsVisibly)
{
    // No counter row: -1 every time, nothing changes.
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Widgets")), -1);
    run(QStringLiteral("DELETE FROM TableIds WHERE TableName='Loans';"));
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Loans")), -1);
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Loans")), -1);

    // A broken counter would hand out "none" or "never saved".
    run(QStringLiteral("UPDATE TableIds SET NextId=0 WHERE TableName='Homes';"));
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Homes")), -1);
    EXPECT_EQ(counter("Homes"), 0);
    run(QStringLiteral("UPDATE TableIds SET NextId=2147483647 WHERE TableName='Homes';"));
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Homes")), -1);

    // A closed connection.
    db.Close();
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Assets")), -1);
}

TEST_F(Lookup, CounterBehindTheRowsSkipsTakenIds)
{
    run(QStringLiteral("INSERT INTO [Tasks] ([TaskId]) VALUES (1);"));
    run(QStringLiteral("INSERT INTO [Tasks] ([TaskId]) VALUES (2);"));
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Tasks")), 3);
    EXPECT_EQ(counter("Tasks"), 4);

    // A block for many rows starts past any row inside it; its unused end can go back while
    // nothing was taken after it.
    run(QStringLiteral("INSERT INTO [Tasks] ([TaskId]) VALUES (10);"));
    EXPECT_EQ(RecordIds::nextIds(db, QStringLiteral("Tasks"), 100), 11);
    EXPECT_EQ(counter("Tasks"), 111);
    EXPECT_TRUE(RecordIds::giveBack(db, QStringLiteral("Tasks"), 50, 111));
    EXPECT_EQ(counter("Tasks"), 50);
    EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Tasks")), 50);
    EXPECT_TRUE(RecordIds::giveBack(db, QStringLiteral("Tasks"), 40, 50));
    EXPECT_EQ(counter("Tasks"), 51) << "taken after the block: the counter stays";
    run(QStringLiteral("UPDATE TableIds SET NextId=2147483600 WHERE TableName='Tasks';"));
    EXPECT_EQ(RecordIds::nextIds(db, QStringLiteral("Tasks"), 100), -1);
}

TEST_F(Lookup, AllocationIsOneTransaction)
{
    // Inside a caller's transaction that is rolled back, the counter goes back too: the read
    // and the write are never split.
    {
        CTransaction t(db);
        EXPECT_EQ(RecordIds::nextId(db, QStringLiteral("Areas")), 1);
    }
    EXPECT_EQ(counter("Areas"), 1);
}

TEST_F(Lookup, LookUpValue)
{
    EXPECT_EQ(Lookups::lookUpValue(db, 19, QStringLiteral("Categories"),
                                   QStringLiteral("CategoryId"), QStringLiteral("Description")),
              QStringLiteral("Videos"));
    EXPECT_EQ(Lookups::lookUpValue(db, 999, QStringLiteral("Categories"),
                                   QStringLiteral("CategoryId"), QStringLiteral("Description")),
              QString());
    EXPECT_EQ(Lookups::lookUpValue(db, 1, QStringLiteral("Categories; DROP TABLE Homes"),
                                   QStringLiteral("CategoryId"), QStringLiteral("Description")),
              QString());
    EXPECT_EQ(Lookups::lookUpValue(db, 1, QStringLiteral("Nowhere"), QStringLiteral("Id"),
                                   QStringLiteral("Description")),
              QString());
}

TEST_F(Lookup, FillListSumsAssetsAndPicksImages)
{
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CurrentValue, "
                       "CategoryId, Picture2) VALUES (1, 5, 'sofa', 100.25, 8, NULL);"));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CurrentValue, "
                       "CategoryId, Picture2) VALUES (2, 5, 'Alien', 20, 19, '/p.jpg');"));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CurrentValue, "
                       "CategoryId, Picture2) VALUES (3, 5, 'Clock', NULL, 0, '/c.jpg');"));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, CurrentValue) VALUES (4, "
                       "6, 'elsewhere', 1000);"));

    CListModel list;
    list.InsertColumn(0, QStringLiteral("Description"));
    int busyCalls = 0;
    static int *counterPtr = nullptr;
    counterPtr = &busyCalls;
    Busy::setHook([](bool on) {
        if (on)
            ++*counterPtr;
    });
    const float total = Lookups::fillList(
        db, list, QStringLiteral("Assets"), QStringLiteral("AssetId"), 3,
        QStringLiteral("WHERE HomeId=5"), QStringLiteral("CurrentValue, Picture2, CategoryId"));
    Busy::setHook(nullptr);
    EXPECT_EQ(busyCalls, 1);
    EXPECT_FLOAT_EQ(total, 120.25f);
    ASSERT_EQ(list.GetItemCount(), 3);
    // Ordered by description without regard to case.
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("Alien"));
    EXPECT_EQ(list.GetItemText(1, 0), QStringLiteral("Clock"));
    EXPECT_EQ(list.GetItemText(2, 0), QStringLiteral("sofa"));
    EXPECT_EQ(list.GetItemImage(0), 2);
    EXPECT_EQ(list.GetItemImage(1), 1);
    EXPECT_EQ(list.GetItemImage(2), 0);
    EXPECT_EQ(list.GetItemData(1), 3);
    EXPECT_EQ(list.GetCurSel(), 1);

    qint32 id = 0;
    int row = -1;
    EXPECT_TRUE(Lookups::selectedRow(list, id, row));
    EXPECT_EQ(id, 3);
    EXPECT_EQ(row, 1);

    // Refilling replaces the rows; an id that is not listed leaves no selection.
    const float none =
        Lookups::fillList(db, list, QStringLiteral("Homes"), QStringLiteral("HomeId"), 42);
    EXPECT_EQ(none, 0.0f);
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_FALSE(Lookups::selectedRow(list, id, row));

    // A read the engine refuses, at once or part-way (here at the second row, after "Alien" was
    // listed), lists nothing rather than some of the rows, and leaves the engine's report.
    for (const char *where :
         { "WHERE NoSuchColumn=5",
           "WHERE HomeId=5 AND CASE WHEN AssetId=3 THEN abs(-9223372036854775808) ELSE 1 END" }) {
        SCOPED_TRACE(where);
        Lookups::fillList(db, list, QStringLiteral("Assets"), QStringLiteral("AssetId"), 3,
                          QString::fromLatin1(where),
                          QStringLiteral("CurrentValue, Picture2, CategoryId"));
        EXPECT_EQ(list.GetItemCount(), 0);
        EXPECT_FALSE(db.GetLastError().isEmpty());
    }
}

TEST_F(Lookup, SelectedRowWithIdZeroIsNoSelection)
{
    CListModel list;
    list.InsertColumn(0, QStringLiteral("Description"));
    list.InsertItem(0, QStringLiteral("heading"));
    list.SetCurSel(0);
    qint32 id = 5;
    int row = 5;
    EXPECT_FALSE(Lookups::selectedRow(list, id, row));
    EXPECT_EQ(id, 5);
}

TEST_F(Lookup, CategoryCombos)
{
    // Stores added out of alphabetical order and in mixed case: the statement sorts them
    // without regard to case, which neither their ids nor a case-sensitive sort would give.
    run(QStringLiteral("INSERT INTO Categories VALUES (40, 'corner shop', 3);"));
    run(QStringLiteral("INSERT INTO Categories VALUES (41, 'Bakery', 3);"));
    run(QStringLiteral("INSERT INTO Categories VALUES (42, 'antiques market', 3);"));
    CComboModel combo;
    Lookups::fillCategoryCombo(db, combo, 0, Lookups::Store, true);
    const QStringList stores { "(optional)",     "antiques market",         "Bakery",
                               "corner shop",    "Department Store",        "Grocery Store",
                               "Hardware Store", "Home Improvement Center", "Pharmacy" };
    ASSERT_EQ(combo.GetCount(), stores.size());
    for (int i = 0; i < combo.GetCount(); ++i)
        EXPECT_EQ(combo.GetLBText(i), stores[i]) << i;
    EXPECT_EQ(combo.GetItemData(0), 0);
    EXPECT_EQ(combo.GetItemData(1), 42);
    EXPECT_EQ(combo.GetCurSel(), 0);

    // Sorted by the statement, not by the combo: one that orders by id keeps that order.
    Lookups::fillCombo(db, combo, 41,
                       QStringLiteral("SELECT CategoryId, Description FROM Categories WHERE "
                                      "CategoryType=3 ORDER BY CategoryId DESC;"),
                       false, QString());
    const QStringList byId {
        "antiques market",         "Bakery",         "corner shop",   "Pharmacy",
        "Home Improvement Center", "Hardware Store", "Grocery Store", "Department Store"
    };
    ASSERT_EQ(combo.GetCount(), byId.size());
    for (int i = 0; i < combo.GetCount(); ++i)
        EXPECT_EQ(combo.GetLBText(i), byId[i]) << i;
    EXPECT_EQ(combo.GetCurSel(), 1);

    Lookups::fillCategoryCombo(db, combo, 19, Lookups::AssetCategory, false);
    EXPECT_EQ(combo.GetLBText(0), QStringLiteral("Please select..."));
    EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), QStringLiteral("Videos"));
    EXPECT_EQ(combo.GetItemData(combo.GetCurSel()), 19);

    // A failed statement leaves only the first entry.
    Lookups::fillCombo(db, combo, 3, QStringLiteral("SELECT nothing FROM nowhere;"), false,
                       QStringLiteral("Please select..."));
    EXPECT_EQ(combo.GetCount(), 1);
    EXPECT_EQ(combo.GetCurSel(), 0);
}

TEST_F(Lookup, ComboDetailColumn)
{
    run(QStringLiteral(
        "INSERT INTO Tasks (TaskId, Description, Vendor) VALUES (1, 'Milk', 'Corner Shop');"));
    run(QStringLiteral(
        "INSERT INTO Tasks (TaskId, Description, Vendor) VALUES (2, 'Bread', NULL);"));
    CComboModel combo;
    Lookups::fillCombo(
        db, combo, 1,
        QStringLiteral("SELECT TaskId, Description, Vendor FROM Tasks ORDER BY TaskId;"), true,
        QString());
    ASSERT_EQ(combo.GetCount(), 2);
    EXPECT_EQ(combo.GetLBText(0), QStringLiteral("Milk (Corner Shop)"));
    EXPECT_EQ(combo.GetLBText(1), QStringLiteral("Bread"));
    EXPECT_EQ(combo.GetCurSel(), 0);
}

TEST(TextLists, SortedPiecesAndCaseInsensitiveSelection)
{
    CComboModel combo(true);
    Lookups::fillComboFromTextList(combo, QStringLiteral("LB"), Strings::ShoppingUnits);
    ASSERT_EQ(combo.GetCount(), 11);
    EXPECT_EQ(combo.GetLBText(0), QStringLiteral("bag"));
    EXPECT_EQ(combo.GetLBText(10), QStringLiteral("roll"));
    EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), QStringLiteral("lb"));

    CComboModel genres(true);
    Lookups::fillComboFromTextList(genres, QStringLiteral("Nope"), Strings::VideoGenres);
    EXPECT_EQ(genres.GetCount(), 20);
    EXPECT_EQ(genres.GetCurSel(), -1);
}

} // namespace
