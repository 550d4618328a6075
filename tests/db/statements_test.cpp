// Every statement the program sends must run against a fresh data file, filled in the way the
// program fills it: ids and coded numbers only.
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "support/temp_env.h"

#include <gtest/gtest.h>

namespace {

struct Statement
{
    QString sql;
    bool returnsRows;
};

std::vector<Statement> everyStatement()
{
    const qint32 id = 7;
    return {
        { sqlText("SELECT * FROM Homes WHERE HomeId=%ld;", long(id)), true },
        { sqlText("INSERT INTO [Homes] ([HomeId]) VALUES (%ld);", long(id)), false },
        { sqlText("SELECT * FROM Areas WHERE AreaId=%ld;", long(id)), true },
        { sqlText("INSERT INTO [Areas] ([AreaId]) VALUES (%ld);", long(id)), false },
        { sqlText("SELECT AreaId FROM Assets WHERE AreaId=%ld;", long(id)), true },
        { QStringLiteral("SELECT AreaId, Description FROM Areas WHERE HomeId=")
              + QString::number(id) + QStringLiteral(" ORDER BY Description;"),
          true },
        { sqlText("SELECT * FROM Assets WHERE AssetId=%ld;", long(id)), true },
        { sqlText("INSERT INTO [Assets] ([AssetId]) VALUES (%ld);", long(id)), false },
        { sqlText("SELECT AssetId, Description, WarrantyExpiration, MakeModel FROM Assets WHERE "
                  "CategoryId=%d ORDER BY Description;",
                  19),
          true },
        { sqlText("SELECT CategoryId FROM Assets WHERE HomeId=%ld;", long(id)), true },
        { sqlText("SELECT a.*, c.Description AS Category, l.Description as Location FROM (Assets "
                  "AS a LEFT JOIN Categories AS c ON a.CategoryId = c.CategoryId) LEFT OUTER JOIN "
                  "Areas l ON a.AreaId = l.AreaId WHERE a.HomeId=%d ORDER BY c.Description, "
                  "a.Description, l.Description;",
                  id),
          true },
        { sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d ORDER BY "
                  "Description;",
                  1),
          true },
        { sqlText("SELECT * FROM Categories WHERE CategoryId=%ld;", long(40)), true },
        { sqlText("INSERT INTO [Categories] ([CategoryId]) VALUES (%ld);", long(40)), false },
        { sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryId=%ld;", long(40)),
          true },
        { sqlText("SELECT CategoryId FROM Assets WHERE CategoryId=%ld;", long(40)), true },
        // The Categories dialog's list: the generic filler with its kind filter.
        { QStringLiteral("SELECT CategoryId, Description FROM Categories ")
              + sqlText("WHERE CategoryType=%d ", 2) + QStringLiteral(" ORDER BY Description;"),
          true },
        { sqlText("SELECT * FROM Loans WHERE LoanId=%ld;", long(id)), true },
        { sqlText("INSERT INTO [Loans] ([LoanId]) VALUES (%ld);", long(id)), false },
        { sqlText("SELECT LoanId, Description, LenderName, Principal, AssetType FROM Loans WHERE "
                  "AssetId=%ld ORDER BY Principal DESC;",
                  long(id)),
          true },
        { sqlText("SELECT Principal FROM Loans WHERE AssetId=%ld AND AssetType=1;", long(id)),
          true },
        { sqlText("SELECT * FROM Tasks WHERE TaskId=%ld;", long(id)), true },
        { sqlText("INSERT INTO [Tasks] ([TaskId]) VALUES (%ld);", long(id)), false },
        { sqlText("SELECT TaskId, Status FROM Tasks WHERE TaskId=%ld;", long(id)), true },
        { sqlText("SELECT * FROM Tasks WHERE TaskType <> %ld ORDER BY Description;", long(2)),
          true },
        { sqlText("SELECT * FROM Tasks WHERE TaskType = %ld ORDER BY Description;", long(2)),
          true },
        { QStringLiteral("SELECT * FROM Tasks WHERE Status<>0  ORDER BY Description;"), true },
        { QStringLiteral("SELECT * FROM Tasks WHERE Status<>0 ")
              + sqlText(" AND TaskType <> %ld ", long(2))
              + QStringLiteral(" ORDER BY Description;"),
          true },
        { QStringLiteral("SELECT * FROM Tasks WHERE Status<>0 ")
              + sqlText(" AND TaskType = %ld ", long(2)) + QStringLiteral(" ORDER BY Description;"),
          true },
        { sqlText("SELECT TaskId, Status FROM Tasks WHERE Status<>%ld;", long(2)), true },
        { QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='Homes';"), true },
        { sqlText("UPDATE TableIds SET NextId=%ld WHERE TableName='Homes';", long(8)), false },
        { QStringLiteral("SELECT Description FROM Categories WHERE CategoryId=19;"), true },
        { QStringLiteral("SELECT HomeId, Description FROM Homes  ORDER BY Description;"), true },
        { QStringLiteral(
              "SELECT AssetId, Description,CurrentValue, Picture2, CategoryId FROM Assets "
              "WHERE HomeId=7 ORDER BY Description;"),
          true },
        // Deletions last, so the selects above had rows to read.
        { sqlText("DELETE FROM Homes WHERE HomeId=%ld;", long(id)), false },
        { sqlText("DELETE FROM Assets WHERE HomeId=%ld;", long(id)), false },
        { sqlText("DELETE FROM Areas WHERE HomeId=%ld;", long(id)), false },
        { sqlText("DELETE FROM Areas WHERE AreaId=%ld;", long(id)), false },
        { sqlText("DELETE FROM Assets WHERE AssetId=%ld;", long(id)), false },
        { sqlText("DELETE FROM Categories WHERE CategoryId=%ld;", long(40)), false },
        { sqlText("DELETE FROM Loans WHERE LoanId=%ld;", long(id)), false },
        { sqlText("DELETE FROM Tasks WHERE TaskId=%ld;", long(id)), false },
    };
}

TEST(Statements, EveryStatementRunsOnAFreshFile)
{
    TempEnv env;
    CADODataBase db;
    ASSERT_TRUE(db.Open(env.dataFile()));
    for (const Statement &s : everyStatement()) {
        SCOPED_TRACE(s.sql.toStdString());
        if (s.returnsRows) {
            CADORecordset rs(db);
            EXPECT_TRUE(rs.Open(s.sql)) << rs.GetLastError().toStdString();
        } else {
            EXPECT_TRUE(db.Execute(s.sql)) << db.GetLastError().toStdString();
        }
    }
}

TEST(Statements, FreshFileHoldsTheFixedRows)
{
    TempEnv env;
    CADODataBase db;
    ASSERT_TRUE(db.Open(env.dataFile()));
    CADORecordset rs(db);
    ASSERT_TRUE(
        rs.Open(QStringLiteral("SELECT CategoryType FROM Categories WHERE CategoryId=19;")));
    int type = 0;
    ASSERT_TRUE(rs.GetInt(QStringLiteral("CategoryType"), type));
    EXPECT_EQ(type, 1);

    // Every counter is above every id its table holds.
    const std::pair<const char *, const char *> tables[] = {
        { "Areas", "AreaId" }, { "Assets", "AssetId" }, { "Categories", "CategoryId" },
        { "Homes", "HomeId" }, { "Loans", "LoanId" },   { "Tasks", "TaskId" }
    };
    for (auto [table, key] : tables) {
        SCOPED_TRACE(table);
        ASSERT_TRUE(
            rs.Open(QStringLiteral("SELECT NextId, (SELECT ifnull(max(%1), 0) FROM %2) AS Top "
                                   "FROM TableIds WHERE TableName='%2';")
                        .arg(QLatin1String(key), QLatin1String(table))));
        ASSERT_FALSE(rs.IsEof());
        qint32 next = 0, top = 0;
        rs.GetLong(QStringLiteral("NextId"), next);
        rs.GetLong(QStringLiteral("Top"), top);
        EXPECT_GE(next, 1);
        EXPECT_GT(next, top);
    }
}

} // namespace
