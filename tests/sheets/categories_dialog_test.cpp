#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "sheets/categories_dialog.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CategoriesDialog : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(db.Open(env.dataFile())); }

    static QStringList rows(QDialog &dialog)
    {
        auto &list = *static_cast<CDlgCategories &>(dialog).list();
        QStringList texts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts << list.GetItemText(row, 0);
        return texts;
    }
    static CAutoListCtrl &list(QDialog &dialog)
    {
        return *static_cast<CDlgCategories &>(dialog).list();
    }
    qint32 number(const QString &sql)
    {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(sql));
        qint32 n = -1;
        rs.GetLong(0, n);
        return n;
    }
    // The name dialog that New or Rename opens: types name and saves, or cancels.
    void nameDialog(const QString &name, bool save = true, QString *shown = nullptr)
    {
        ui.onNextDialog([=](QDialog &dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Category"));
            if (shown)
                *shown = Fill::textOf(dialog, "name");
            Fill::text(dialog, "name", name);
            Fill::click(dialog, save ? "ok" : "cancel");
        });
    }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
};

TEST_F(CategoriesDialog, ListsOneKindWithThePreselectedRowAndDoubleClickChooses)
{
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Categories"));
        EXPECT_EQ(rows(dialog),
                  (QStringList { "Bills", "Cleaning", "Errands", "Maintenance", "Repairs",
                                 "Yard Work" }));
        EXPECT_TRUE(list(dialog).isHeaderHidden());
        EXPECT_EQ(list(dialog).GetItemData(list(dialog).GetCurSel()), 23);

        const QRect cell = list(dialog).visualRect(list(dialog).model()->index(4, 0));
        QTest::mouseClick(list(dialog).viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list(dialog).viewport(), Qt::LeftButton, {}, cell.center());
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_EQ(CDlgCategories::Choose(db, Lookups::TaskCategory, 23, nullptr), 24);
}

TEST_F(CategoriesDialog, CancelAfterNewReturnsTheNewCategory)
{
    ui.onNextDialog([&](QDialog &dialog) {
        // A second category of an existing name: both are listed, the new one selected.
        nameDialog(QStringLiteral("Furniture"));
        Fill::click(dialog, "new");
        EXPECT_EQ(rows(dialog).count(QStringLiteral("Furniture")), 2);
        EXPECT_GE(list(dialog).GetItemData(list(dialog).GetCurSel()), 31);

        nameDialog(QStringLiteral("Garden \"tools\"; x"));
        Fill::click(dialog, "new");
        EXPECT_TRUE(rows(dialog).contains(QStringLiteral("Garden \"tools\"; x")));
        const int row = list(dialog).GetCurSel();
        EXPECT_EQ(list(dialog).GetItemText(row, 0), QStringLiteral("Garden \"tools\"; x"));

        // A cancelled name adds nothing.
        const int count = list(dialog).GetItemCount();
        nameDialog(QStringLiteral("never"), false);
        Fill::click(dialog, "new");
        EXPECT_EQ(list(dialog).GetItemCount(), count);
        Fill::click(dialog, "cancel");
    });
    const qint32 chosen = CDlgCategories::Choose(db, Lookups::AssetCategory, 8, nullptr);
    EXPECT_GT(chosen, 27);
    EXPECT_EQ(Lookups::lookUpValue(db, chosen, QStringLiteral("Categories"),
                                   QStringLiteral("CategoryId"), QStringLiteral("Description")),
              QStringLiteral("Garden \"tools\"; x"));
    EXPECT_EQ(
        number(
            QStringLiteral("SELECT CategoryType FROM Categories WHERE CategoryId=%1;").arg(chosen)),
        1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE Description='never';")),
              0);
}

TEST_F(CategoriesDialog, AnEmptyNameIsAnEmptyRowAndRenameChoosesTheRow)
{
    ui.onNextDialog([&](QDialog &dialog) {
        nameDialog(QString());
        Fill::click(dialog, "new");
        EXPECT_EQ(rows(dialog).first(), QString());

        // Rename starts from the row's text.
        list(dialog).SetCurSel(rows(dialog).indexOf(QStringLiteral("Grocery Store")));
        QString shown;
        nameDialog(QStringLiteral("Farmers Market"), true, &shown);
        Fill::click(dialog, "rename");
        EXPECT_EQ(shown, QStringLiteral("Grocery Store"));
        EXPECT_TRUE(rows(dialog).contains(QStringLiteral("Farmers Market")));
        Fill::click(dialog, "cancel");
    });
    EXPECT_EQ(CDlgCategories::Choose(db, Lookups::Store, 0, nullptr), 27);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE CategoryType=3 AND "
                                    "Description IS NULL;")),
              1);
}

TEST_F(CategoriesDialog, DeletingThePreselectedCategoryReturnsItsIdAndKeepsTheAssets)
{
    ASSERT_TRUE(db.Execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId) VALUES (1, 1, 8);")));
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(list(dialog).GetItemData(list(dialog).GetCurSel()), 8);
        ui.answer(Ui::No);
        Fill::click(dialog, "delete");
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text,
                  QStringLiteral("This category will be deleted. Continue?"));
        EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Warning);
        EXPECT_TRUE(rows(dialog).contains(QStringLiteral("Furniture")));

        ui.answer(Ui::Yes);
        Fill::click(dialog, "delete");
        EXPECT_FALSE(rows(dialog).contains(QStringLiteral("Furniture")));
        EXPECT_EQ(list(dialog).GetCurSel(), -1);
        // With nothing selected Rename and Delete do nothing.
        Fill::click(dialog, "delete");
        Fill::click(dialog, "rename");
        EXPECT_EQ(ui.messages().size(), 2u);
        Fill::click(dialog, "ok");
    });
    EXPECT_EQ(CDlgCategories::Choose(db, Lookups::AssetCategory, 8, nullptr), 8);
    EXPECT_EQ(ui.pendingScripts(), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Categories WHERE CategoryId=8;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT CategoryId FROM Assets WHERE AssetId=1;")), 0);
}

} // namespace
