#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "records/home.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class HomeRecord : public DataFileTest
{
};

TEST_F(HomeRecord, SaveStoresEveryColumnUnderTheNextIdAndLoadReadsThemBack)
{
    run(QStringLiteral("UPDATE TableIds SET NextId=41 WHERE TableName='Homes';"));
    CHome home;
    EXPECT_FALSE(home.Exists());
    home.m_strDescription = QStringLiteral("Lake house");
    home.m_strAddress = QStringLiteral("1 Shore Road\nLakeside");
    home.m_fCurrentValue = 1234.56f;
    home.m_strPicture = QStringLiteral("/pictures/lake.jpg");
    home.m_strNotes = QStringLiteral("Boat in the shed");
    ASSERT_TRUE(home.Save(db)) << db.GetLastError().toStdString();
    EXPECT_EQ(home.id(), 41);

    CHome loaded(41);
    ASSERT_TRUE(loaded.Load(db));
    EXPECT_EQ(loaded.m_strDescription, home.m_strDescription);
    EXPECT_EQ(loaded.m_strAddress, home.m_strAddress);
    EXPECT_EQ(loaded.m_fCurrentValue, 1234.56f);
    EXPECT_EQ(loaded.m_strPicture, home.m_strPicture);
    EXPECT_EQ(loaded.m_strNotes, home.m_strNotes);

    // A second save updates the same row; an emptied text is stored as NULL.
    loaded.m_strNotes.clear();
    ASSERT_TRUE(loaded.Save(db));
    EXPECT_EQ(loaded.id(), 41);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes WHERE Notes IS NULL;")), 1);
}

TEST_F(HomeRecord, LoadOfAMissingOrUnsavedHomeFailsAndKeepsTheFields)
{
    CHome unsaved;
    unsaved.m_strDescription = QStringLiteral("kept");
    EXPECT_FALSE(unsaved.Load(db));

    CHome gone(77);
    gone.m_strDescription = QStringLiteral("kept");
    gone.m_fCurrentValue = 5.0f;
    EXPECT_FALSE(gone.Load(db));
    EXPECT_EQ(gone.m_strDescription, QStringLiteral("kept"));
    EXPECT_EQ(gone.m_fCurrentValue, 5.0f);
}

TEST_F(HomeRecord, SaveWithoutAnIdStoresNothingAndCanBeRetried)
{
    // No counter row: the allocator cannot give an id.
    run(QStringLiteral("DELETE FROM TableIds WHERE TableName='Homes';"));
    CHome home;
    home.m_strDescription = QStringLiteral("Cabin");
    EXPECT_FALSE(home.Save(db));
    EXPECT_EQ(home.id(), -1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes;")), 0);

    run(QStringLiteral("INSERT INTO TableIds VALUES ('Homes', 3);"));
    ASSERT_TRUE(home.Save(db));
    EXPECT_EQ(home.id(), 3);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes WHERE HomeId=3 AND "
                                   "Description='Cabin';")),
              1);
}

TEST_F(HomeRecord, SaveThatCannotWriteTheRowLeavesNoBareKeyBehind)
{
    // A trigger refuses the column update that follows the insert.
    run(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Homes BEGIN "
                       "SELECT RAISE(ABORT, 'refused'); END;"));
    CHome home;
    home.m_strDescription = QStringLiteral("Cabin");
    EXPECT_FALSE(home.Save(db));
    EXPECT_EQ(home.id(), -1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes;")), 0);
}

TEST_F(HomeRecord, DeleteRemovesTheHomesAssetsLocationsAndLoansOnly)
{
    for (int id : { 1, 2 })
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (%1, 'H%1');").arg(id));
    for (int id : { 10, 11, 12 })
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId) VALUES (%1, %2);")
                .arg(id)
                .arg(id == 12 ? 2 : 1));
    for (int id : { 20, 21 })
        run(QStringLiteral("INSERT INTO Areas (AreaId, HomeId) VALUES (%1, %2);")
                .arg(id)
                .arg(id == 21 ? 2 : 1));
    for (int id : { 30, 31 })
        run(QStringLiteral("INSERT INTO Loans (LoanId, AssetId, AssetType) VALUES (%1, %2, 1);")
                .arg(id)
                .arg(id == 31 ? 2 : 1));
    run(QStringLiteral("INSERT INTO Tasks (TaskId, Description) VALUES (40, 'Paint');"));
    const int categories = number(QStringLiteral("SELECT COUNT(*) FROM Categories;"));

    CHome home(1);
    ASSERT_TRUE(home.Load(db));
    EXPECT_TRUE(home.Delete(db));
    EXPECT_EQ(home.id(), 1);
    EXPECT_EQ(home.m_strDescription, QStringLiteral("H1"));

    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes WHERE HomeId=1;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE HomeId=1;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas WHERE HomeId=1;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans WHERE AssetId=1;")), 0);
    // The other home keeps everything; tasks and categories belong to no home.
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Tasks;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories;")), categories);

    EXPECT_FALSE(CHome().Delete(db));
}

TEST_F(HomeRecord, DeleteCarriesOnPastAStatementThatFails)
{
    run(QStringLiteral("INSERT INTO Homes (HomeId) VALUES (1);"));
    run(QStringLiteral("INSERT INTO Areas (AreaId, HomeId) VALUES (20, 1);"));
    run(QStringLiteral("INSERT INTO Loans (LoanId, AssetId) VALUES (30, 1);"));
    run(QStringLiteral("DROP TABLE Assets;"));

    EXPECT_FALSE(CHome(1).Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Homes;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Areas;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans;")), 0);
}

} // namespace
