#pragma once
// A test with its own fresh data file, open on db. Record, lookup and database tests start here.

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "support/temp_env.h"

#include <gtest/gtest.h>

class DataFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.Open(env.dataFile())) << db.GetLastError().toStdString();
    }

    // Seeds or changes the file behind the code under test.
    void run(const QString &sql)
    {
        ASSERT_TRUE(db.Execute(sql)) << db.GetLastError().toStdString();
    }

    // The first column of the first row as a number; -1 when there is no row.
    qint32 number(const QString &sql)
    {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
        qint32 n = -1;
        if (!rs.IsEof())
            rs.GetLong(0, n);
        return n;
    }

    TempEnv env;
    CADODataBase db;
};
