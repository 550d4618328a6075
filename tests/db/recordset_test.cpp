#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/datafile.h"
#include "support/data_file_test.h"

#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class Recordset : public DataFileTest
{
protected:
    void addAsset(qint32 id)
    {
        run(QStringLiteral("INSERT INTO [Assets] ([AssetId]) VALUES (%1);").arg(id));
    }
};

TEST_F(Recordset, OpenDecidesSelectFromTheFirstSevenCharacters)
{
    CADORecordset rs(db);
    EXPECT_TRUE(rs.Open(QStringLiteral("   \n SELECT * FROM Homes;")));
    EXPECT_TRUE(rs.IsOpen());
    EXPECT_EQ(rs.GetQuery(), QStringLiteral("SELECT * FROM Homes;"));
    EXPECT_TRUE(rs.Open(QStringLiteral("select HomeId from Homes;")));

    // A tab after the keyword is not "select ": option 0 refuses it quietly.
    EXPECT_FALSE(rs.Open(QStringLiteral("SELECT\t* FROM Homes;")));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_TRUE(rs.GetLastError().isEmpty());
    // As an explicit query it runs.
    EXPECT_TRUE(rs.Open(QStringLiteral("SELECT\t* FROM Homes;"), CADORecordset::openQuery));
}

TEST_F(Recordset, ErrorsAreReportedNeverThrown)
{
    CADORecordset rs(db);
    EXPECT_FALSE(rs.Open(QStringLiteral("SELECT * FROM NoSuchTable;")));
    EXPECT_TRUE(rs.GetLastError().startsWith(
        QStringLiteral("Query = SELECT * FROM NoSuchTable;\nCADORecordset Error\n\tCode = ")));
    EXPECT_TRUE(
        rs.GetLastError().contains(QStringLiteral("\tDescription = no such table: NoSuchTable\n")));
    EXPECT_NE(rs.GetLastErrorCode(), 0u);

    EXPECT_FALSE(db.Execute(QStringLiteral("DELETE FROM Nowhere WHERE X=1;")));
    EXPECT_TRUE(db.GetLastError().startsWith(
        QStringLiteral("Connection String = ") + env.connection()
        + QStringLiteral(
            "\nCADODataBase Error\n\tCode = 00000001\n\tCode meaning = SQL logic error\n")));

    // Reading an empty result is an error the caller survives with its default.
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Homes WHERE HomeId=5;")));
    EXPECT_TRUE(rs.IsEof());
    qint32 id = 77;
    EXPECT_FALSE(rs.GetLong(QStringLiteral("HomeId"), id));
    EXPECT_EQ(id, 77);
    EXPECT_TRUE(rs.GetLastError().startsWith(QStringLiteral("Query = ")));
}

TEST_F(Recordset, OnlyOneStatementPerCall)
{
    EXPECT_FALSE(
        db.Execute(QStringLiteral("DELETE FROM Homes WHERE HomeId=1; DROP TABLE Assets;")));
    CADORecordset rs(db);
    EXPECT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets;")));
}

TEST_F(Recordset, WritesNeedEditAndUpdateWithoutEditIsHarmless)
{
    addAsset(4);
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets WHERE AssetId=4;")));
    EXPECT_FALSE(rs.SetString(QStringLiteral("Description"), QStringLiteral("Lamp")));
    EXPECT_TRUE(rs.Update());

    ASSERT_TRUE(rs.Open());
    QString text = QStringLiteral("untouched");
    ASSERT_TRUE(rs.GetString(QStringLiteral("Description"), text));
    EXPECT_EQ(text, QString());

    rs.Edit();
    EXPECT_TRUE(rs.SetString(QStringLiteral("Description"), QStringLiteral("Lamp")));
    EXPECT_FALSE(rs.SetString(QStringLiteral("NoSuchColumn"), QStringLiteral("x")));
    EXPECT_TRUE(rs.Update());
    EXPECT_EQ(rs.GetEditStatus(), CADORecordset::dbEditNone);
    ASSERT_TRUE(rs.Open());
    ASSERT_TRUE(rs.GetString(QStringLiteral("Description"), text));
    EXPECT_EQ(text, QStringLiteral("Lamp"));
}

TEST_F(Recordset, ValueKindsAndConversions)
{
    addAsset(1);
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets WHERE AssetId=1;")));
    rs.Edit();
    EXPECT_TRUE(rs.SetString(QStringLiteral("Notes"), QString()));
    EXPECT_TRUE(rs.SetDouble(QStringLiteral("PurchasePrice"), 100.0));
    EXPECT_TRUE(rs.SetDouble(QStringLiteral("CurrentValue"), 2.5));
    EXPECT_TRUE(rs.SetDate(QStringLiteral("PurchaseDate"), COleDateTime(2003, 1, 31, 14, 5, 0)));
    EXPECT_TRUE(rs.SetInt(QStringLiteral("AreaId"), 40000)); // 16-bit on the way in
    EXPECT_TRUE(rs.SetLong(QStringLiteral("CategoryId"), 70000));
    EXPECT_TRUE(rs.SetString(QStringLiteral("Description"), QStringLiteral("12 chairs")));
    ASSERT_TRUE(rs.Update());

    ASSERT_TRUE(rs.Open());
    QString text = QStringLiteral("x");
    qint32 number = 5;
    EXPECT_TRUE(rs.GetString(QStringLiteral("Notes"), text));
    EXPECT_EQ(text, QString());
    EXPECT_TRUE(rs.GetLong(QStringLiteral("Notes"), number)); // NULL reads as 0
    EXPECT_EQ(number, 0);

    EXPECT_TRUE(rs.GetString(QStringLiteral("PurchasePrice"), text));
    EXPECT_EQ(text, QStringLiteral("100."));
    EXPECT_TRUE(rs.GetString(QStringLiteral("CurrentValue"), text));
    EXPECT_EQ(text, QStringLiteral("2.5"));
    EXPECT_TRUE(rs.GetString(QStringLiteral("PurchaseDate"), text));
    EXPECT_EQ(text, QStringLiteral("2003-01-31 14:05:00"));
    double days = 0;
    EXPECT_TRUE(rs.GetDouble(QStringLiteral("PurchaseDate"), days));
    EXPECT_NEAR(days, COleDateTime(2003, 1, 31, 14, 5, 0).days(), 1e-9);

    EXPECT_TRUE(rs.GetLong(QStringLiteral("AreaId"), number));
    EXPECT_EQ(number, -25536);
    EXPECT_TRUE(rs.GetLong(QStringLiteral("CategoryId"), number));
    EXPECT_EQ(number, 70000);

    // int reads only 16-bit values: a 32-bit column gives 0 and false.
    int small = 9;
    EXPECT_FALSE(rs.GetInt(QStringLiteral("CategoryId"), small));
    EXPECT_EQ(small, 0);

    // A NULL date leaves the caller's date alone.
    COleDateTime warranty(2000, 1, 1);
    EXPECT_TRUE(rs.GetDate(QStringLiteral("WarrantyExpiration"), warranty));
    EXPECT_EQ(warranty, COleDateTime(2000, 1, 1));
    COleDateTime date(1999, 5, 5);
    EXPECT_FALSE(rs.GetDate(QStringLiteral("Description"), date));
    EXPECT_EQ(date, COleDateTime(1999, 5, 5));

    // Text never reads as a number, not even one that starts with digits.
    double value = 3.0;
    EXPECT_FALSE(rs.GetDouble(QStringLiteral("Description"), value));
    EXPECT_EQ(value, 3.0);
}

TEST_F(Recordset, ShortColumnsAndBooleans)
{
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO [Tasks] ([TaskId]) VALUES (3);")));
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Tasks WHERE TaskId=3;")));
    rs.Edit();
    rs.SetInt(QStringLiteral("Status"), 2);
    rs.SetInt(QStringLiteral("Custom2"), 40000); // a 32-bit column written as 16 bits
    ASSERT_TRUE(rs.Update());
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT Status, Custom2, Status<>0 AS Busy FROM Tasks;")));
    int status = 0;
    EXPECT_TRUE(rs.GetInt(QStringLiteral("Status"), status));
    EXPECT_EQ(status, 2);
    qint32 custom = 0;
    EXPECT_TRUE(rs.GetLong(QStringLiteral("Custom2"), custom));
    EXPECT_EQ(custom, -25536);
    // A computed column takes its kind from the value.
    qint32 busy = 0;
    EXPECT_TRUE(rs.GetLong(QStringLiteral("Busy"), busy));
    EXPECT_EQ(busy, 1);
}

TEST_F(Recordset, JoinedResultsAreReadOnly)
{
    addAsset(2);
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral(
        "SELECT a.*, c.Description AS Category FROM Assets AS a LEFT JOIN Categories AS c ON "
        "a.CategoryId = c.CategoryId;")));
    ASSERT_FALSE(rs.IsEof());
    rs.Edit();
    EXPECT_TRUE(rs.SetString(QStringLiteral("Description"), QStringLiteral("x")));
    EXPECT_FALSE(rs.Update());
    EXPECT_TRUE(rs.GetLastError().contains(QStringLiteral("CADORecordset Error")));
}

TEST_F(Recordset, EditsThatWereNotSavedDoNotLinger)
{
    addAsset(5);
    addAsset(6);
    CADORecordset rs(db);
    // A failed save (a join cannot be written back) leaves the row as the file holds it.
    ASSERT_TRUE(
        rs.Open(QStringLiteral("SELECT a.Description, c.Description AS Category FROM Assets "
                               "AS a LEFT JOIN Categories AS c ON a.CategoryId = "
                               "c.CategoryId ORDER BY a.AssetId;")));
    rs.Edit();
    ASSERT_TRUE(rs.SetString(QStringLiteral("Description"), QStringLiteral("never stored")));
    EXPECT_FALSE(rs.Update());
    QString text = QStringLiteral("x");
    ASSERT_TRUE(rs.GetString(QStringLiteral("Description"), text));
    EXPECT_EQ(text, QString());

    // Moving on without Update drops the edit too.
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets ORDER BY AssetId;")));
    rs.Edit();
    ASSERT_TRUE(rs.SetString(QStringLiteral("Description"), QStringLiteral("abandoned")));
    rs.MoveNext();
    rs.Edit();
    ASSERT_TRUE(rs.SetString(QStringLiteral("Description"), QStringLiteral("Second")));
    ASSERT_TRUE(rs.Update());
    ASSERT_TRUE(rs.Open());
    ASSERT_TRUE(rs.GetString(QStringLiteral("Description"), text));
    EXPECT_EQ(text, QString());
    rs.MoveNext();
    ASSERT_TRUE(rs.GetString(QStringLiteral("Description"), text));
    EXPECT_EQ(text, QStringLiteral("Second"));
}

TEST_F(Recordset, UserTextTravelsOnlyAsValues)
{
    const QString hostile = QStringLiteral(
        "Bob's \"good\" chair'; DROP TABLE Homes; -- SELECT * FROM Assets WHERE 1=1 OR ''='");
    addAsset(9);
    {
        CADORecordset rs(db);
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets WHERE AssetId=9;")));
        rs.Edit();
        ASSERT_TRUE(rs.SetString(QStringLiteral("Description"), hostile));
        ASSERT_TRUE(rs.SetString(QStringLiteral("Notes"), QStringLiteral("line 1\nline 2\t;")));
        ASSERT_TRUE(rs.Update());
    }
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Assets WHERE AssetId=9;")));
    QString text;
    ASSERT_TRUE(rs.GetString(QStringLiteral("Description"), text));
    EXPECT_EQ(text, hostile);
    ASSERT_TRUE(rs.GetString(QStringLiteral("Notes"), text));
    EXPECT_EQ(text, QStringLiteral("line 1\nline 2\t;"));
    EXPECT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Homes;")));
}

TEST_F(Recordset, EditingOneRowOfManyTouchesOnlyThatRow)
{
    for (int id : { 1, 2, 3 })
        addAsset(id);
    ASSERT_TRUE(db.Execute(QStringLiteral("UPDATE Assets SET AreaId=7;")));
    // The way a deleted location's assets are cleared: the key column is not even selected.
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT AreaId FROM Assets WHERE AreaId=7;")));
    rs.MoveNext();
    rs.Edit();
    rs.SetLong(QStringLiteral("AreaId"), 0);
    ASSERT_TRUE(rs.Update());
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT AssetId FROM Assets WHERE AreaId=0;")));
    qint32 id = 0;
    ASSERT_TRUE(rs.GetLong(0, id));
    EXPECT_EQ(id, 2);
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEof());
}

TEST(DataBase, OpenRefusesWhatIsNotAWritableDataFile)
{
    TempEnv env(false);
    CADODataBase db;
    // Missing: never created behind the user's back.
    EXPECT_FALSE(db.Open(env.dataFile()));
    EXPECT_FALSE(QFile::exists(env.dataFile()));
    EXPECT_TRUE(db.GetLastError().startsWith(QStringLiteral("Connection String = ")));

    // Not a database.
    QFile junk(env.dataFile());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(db.Open(env.dataFile()));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(db.GetLastErrorCode(), 26u); // not a database

    // Write-protected: it would lose every change.
    ASSERT_TRUE(QFile::remove(env.dataFile()));
    ASSERT_TRUE(DataFile::create(env.dataFile()));
    QFile::setPermissions(env.dataFile(), QFile::ReadOwner);
    if (::geteuid() != 0) { // root writes anyway
        EXPECT_FALSE(db.Open(env.dataFile()));
    }
    QFile::setPermissions(env.dataFile(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(db.Open(env.dataFile()));
    EXPECT_TRUE(db.Open()); // reopens the last connection
    db.Close();
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Execute(QStringLiteral("DELETE FROM Homes;")));
}

TEST(DataBase, ANewDataFileNeverReplacesAnExistingOne)
{
    TempEnv env;
    CADODataBase db;
    ASSERT_TRUE(db.Open(env.dataFile()));
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO [Homes] ([HomeId]) VALUES (1);")));
    db.Close();
    QString error;
    EXPECT_FALSE(DataFile::create(env.dataFile(), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(db.Open(env.dataFile()));
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT HomeId FROM Homes;")));
    EXPECT_EQ(rs.GetRecordCount(), 1);
}

TEST(DataBase, ConnectionTextQuotesThePath)
{
    const QString path = QStringLiteral("/tmp/it's here;/HOMEDATA.DAT");
    const QString connection = DataFile::connectionString(path);
    EXPECT_EQ(connection,
              QStringLiteral("Provider=SQLite;Data Source='/tmp/it''s here;/HOMEDATA.DAT';"));

    // The connection keeps the path it opens as given, whatever the text's quoting makes of it.
    TempEnv env(false);
    const QString odd = env.dataDir() + QStringLiteral("/it's here;");
    ASSERT_TRUE(QDir().mkpath(odd));
    const QString file = odd + QStringLiteral("/HOMEDATA.DAT");
    ASSERT_TRUE(DataFile::create(file));
    CADODataBase db;
    ASSERT_TRUE(db.Open(file)) << db.GetLastError().toStdString();
    EXPECT_EQ(db.GetDataSource(), file);
    EXPECT_EQ(db.GetConnectionString(), DataFile::connectionString(file));
    db.Close();
    ASSERT_TRUE(db.Open()); // the same file again
    EXPECT_EQ(db.GetDataSource(), file);
}

TEST(DataBase, TransactionsRollBackUnlessCommitted)
{
    TempEnv env;
    CADODataBase db;
    ASSERT_TRUE(db.Open(env.dataFile()));
    {
        CTransaction t(db);
        ASSERT_TRUE(t.isActive());
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO [Homes] ([HomeId]) VALUES (1);")));
    }
    {
        CTransaction outer(db);
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO [Homes] ([HomeId]) VALUES (2);")));
        {
            CTransaction inner(db);
            ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO [Homes] ([HomeId]) VALUES (3);")));
        }
        EXPECT_TRUE(outer.commit());
    }
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT HomeId FROM Homes;")));
    ASSERT_EQ(rs.GetRecordCount(), 1);
    qint32 id = 0;
    rs.GetLong(0, id);
    EXPECT_EQ(id, 2);
}

} // namespace
