#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "records/categories.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class CategoryRows : public DataFileTest
{
protected:
    QString nameOf(qint32 id)
    {
        return Lookups::lookUpValue(db, id, QStringLiteral("Categories"),
                                    QStringLiteral("CategoryId"), QStringLiteral("Description"));
    }
};

TEST_F(CategoryRows, NewCategoriesTakeTheNextIdTheirNameAndKind)
{
    run(QStringLiteral("UPDATE TableIds SET NextId=300 WHERE TableName='Categories';"));
    const qint32 id =
        Categories::create(db, QStringLiteral("Tom's \"best\"; DROP TABLE x"), Lookups::Store);
    EXPECT_EQ(id, 300);
    EXPECT_EQ(nameOf(id), QStringLiteral("Tom's \"best\"; DROP TABLE x"));
    EXPECT_EQ(number(QStringLiteral("SELECT CategoryType FROM Categories WHERE CategoryId=300;")),
              3);

    // An empty name is allowed and stored as NULL; two equal names are two rows.
    const qint32 unnamed = Categories::create(db, QString(), Lookups::AssetCategory);
    EXPECT_EQ(unnamed, 301);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE CategoryId=301 AND "
                                    "Description IS NULL AND CategoryType=1;")),
              1);
    EXPECT_EQ(
        Categories::create(db, QStringLiteral("Tom's \"best\"; DROP TABLE x"), Lookups::Store),
        302);
}

TEST_F(CategoryRows, AFailedNewLeavesNoNamelessRow)
{
    const qint32 before = number(QStringLiteral("SELECT COUNT(*) FROM Categories;"));
    // The row can be inserted but not written.
    run(QStringLiteral("CREATE TRIGGER NoWrite BEFORE UPDATE ON Categories BEGIN "
                       "SELECT RAISE(ABORT, 'refused'); END;"));
    const qint32 next =
        number(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='Categories';"));
    EXPECT_EQ(Categories::create(db, QStringLiteral("Garden"), Lookups::AssetCategory), -1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories;")), before);
    EXPECT_EQ(number(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='Categories';")),
              next);

    // No id to be had.
    run(QStringLiteral("DROP TRIGGER NoWrite;"));
    run(QStringLiteral("DELETE FROM TableIds WHERE TableName='Categories';"));
    EXPECT_EQ(Categories::create(db, QStringLiteral("Garden"), Lookups::AssetCategory), -1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories;")), before);
}

TEST_F(CategoryRows, RenameChangesOnlyTheName)
{
    ASSERT_TRUE(Categories::rename(db, 8, QStringLiteral("Sofas & Chairs")));
    EXPECT_EQ(nameOf(8), QStringLiteral("Sofas & Chairs"));
    EXPECT_EQ(number(QStringLiteral("SELECT CategoryType FROM Categories WHERE CategoryId=8;")), 1);
    EXPECT_FALSE(Categories::rename(db, 9999, QStringLiteral("nothing")));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE CategoryId=9999;")), 0);
}

TEST_F(CategoryRows, DeletingACategoryKeepsItsAssetsWithoutOne)
{
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId) VALUES (1, 1, 19);"));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId) VALUES (2, 2, 19);"));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId) VALUES (3, 1, 8);"));
    run(QStringLiteral("INSERT INTO Tasks (TaskId, TaskType, Custom2) VALUES (1, 1, 21);"));

    // The video category is an ordinary row: its titles become plain assets.
    ASSERT_TRUE(Categories::remove(db, 19));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE CategoryId=19;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE CategoryId=0;")), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT CategoryId FROM Assets WHERE AssetId=3;")), 8);

    // A task category's tasks keep the old id: only assets are cleared.
    ASSERT_TRUE(Categories::remove(db, 21));
    EXPECT_EQ(number(QStringLiteral("SELECT Custom2 FROM Tasks WHERE TaskId=1;")), 21);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 3);
}

} // namespace
