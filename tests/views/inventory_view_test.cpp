#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "db/ado_recordset.h"
#include "format/display_text.h"
#include "records/home_figures.h"
#include "support/fake_view_host.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "views/inventory_view.h"

#include <QAccessible>
#include <QAction>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class InventoryView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exec("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Main'), (2, 'Cabin');");
        exec("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, CurrentValue, "
             "Picture2, MakeModel) VALUES "
             "(1, 1, 8, 'sofa', 0.1, NULL, 'Chesterfield'), "
             "(2, 1, 8, 'Armchair', 0.2, '/p/chair.jpg', NULL), "
             "(3, 1, 19, 'Casablanca', 0.3, NULL, 'Romance'), "
             "(4, 1, 0, 'Box of odds', 10, NULL, NULL), "
             "(5, 2, 8, 'Bench', 40, NULL, NULL);");
        host.SetCurrentHome(1);
        host.calls.clear();
    }

    void exec(const char *sql) { ASSERT_TRUE(host.db.Execute(QString::fromUtf8(sql))); }

    // The view on screen inside the host's window.
    CInventoryView &shown()
    {
        if (!view) {
            view = new CInventoryView(host, &host.window);
            view->resize(host.window.size());
        }
        host.window.show();
        view->show();
        return *view;
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < view->list()->GetItemCount(); ++row)
            texts << view->list()->GetItemText(row, 0);
        return texts;
    }

    QStringList menuTexts()
    {
        view->ShowCategoryMenu();
        QStringList texts;
        for (QAction *action : view->categoryMenu()->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-")
                                            : action->text() + (action->isChecked() ? "*" : ""));
        }
        view->categoryMenu()->hide();
        return texts;
    }

    void choose(const QString &text)
    {
        view->ShowCategoryMenu();
        for (QAction *action : view->categoryMenu()->actions()) {
            if (action->text() == text) {
                action->trigger();
                view->categoryMenu()->hide();
                return;
            }
        }
        ADD_FAILURE() << "no menu entry " << text.toStdString();
    }

    qint32 storedFilter()
    {
        qint32 value = -1;
        host.key.ReadNumber(QStringLiteral("InventoryCategory"), value);
        return value;
    }

    FakeViewHost host;
    ScriptedUi ui;
    CInventoryView *view = nullptr;
};

TEST_F(InventoryView, AHiddenViewReadsNothingUntilShown)
{
    host.key.WriteNumber(QStringLiteral("InventoryCategory"), 8);
    view = new CInventoryView(host, &host.window);
    view->hide();
    view->Refresh(0);
    EXPECT_EQ(view->list()->GetItemCount(), 0);
    EXPECT_EQ(view->title()->text(), QStringLiteral("Home Inventory (All)"));
    EXPECT_TRUE(host.calls.isEmpty());

    shown();
    EXPECT_EQ(view->filter(), 8);
    EXPECT_EQ(view->title()->text(), QStringLiteral("Home Inventory (Furniture)"));
    EXPECT_EQ(rows(), (QStringList { "Armchair", "sofa" }));
    EXPECT_EQ(host.calls, (QStringList { "UpdateTodayLines" }));
}

TEST_F(InventoryView, ListsTheHomesAssetsWithTheirImagesAndDescription)
{
    shown().Refresh(1);
    EXPECT_EQ(rows(), (QStringList { "Armchair", "Box of odds", "Casablanca", "sofa" }));
    EXPECT_EQ(view->list()->GetItemImage(0), 1);
    EXPECT_EQ(view->list()->GetItemImage(1), 0);
    EXPECT_EQ(view->list()->GetItemImage(2), 2);
    EXPECT_EQ(view->list()->GetSmallImageWidth(), 16);
    EXPECT_EQ(view->list()->GetCurSel(), 3);
    EXPECT_EQ(view->shownAssetId(), 1);
    EXPECT_EQ(view->descriptionBox()->toPlainText(),
              QStringLiteral("Chesterfield\nCurrent value: ") + moneyText(0.1f) + "\n");

    view->list()->SetCurSel(2);
    EXPECT_EQ(view->shownAssetId(), 3);
    EXPECT_EQ(view->descriptionBox()->toPlainText(),
              QStringLiteral("Year: 2000; Genre: Romance\n"));

    // Layout: the list from y 24, the description box in the bottom 65 pixels.
    view->resize(500, 400);
    EXPECT_EQ(view->list()->geometry(), QRect(0, 24, 500, 308));
    EXPECT_EQ(view->descriptionBox()->geometry(), QRect(2, 335, 498, 65));
    EXPECT_EQ(view->cornerIcon()->geometry(), QRect(-18, -18, 32, 32));
}

TEST_F(InventoryView, TheTotalIsTheDoubleSumTheTodayViewShows)
{
    shown().Refresh(0);
    // 0.1 + 0.2 + 0.3 + 10 in single precision would be 10.6000004; the file's doubles are not.
    EXPECT_NEAR(view->inventoryTotal(), HomeFigures::inventoryTotal(host.db, 1, 0), 1e-9);
    EXPECT_NEAR(view->inventoryTotal(), 10.6, 1e-9);
    choose(QStringLiteral("Furniture (2)"));
    EXPECT_NEAR(view->inventoryTotal(), HomeFigures::inventoryTotal(host.db, 1, 8), 1e-9);
    EXPECT_NEAR(view->inventoryTotal(), 0.3, 1e-9);
}

TEST_F(InventoryView, TheCategoryMenuCountsTheHomesAssets)
{
    shown().Refresh(0);
    EXPECT_EQ(menuTexts(),
              (QStringList { "&All Categories*", "-", "Furniture (2)", "Videos (1)" }));
    EXPECT_EQ(view->categoryMenu()->title(), QStringLiteral("Categories"));

    // The filter's category is listed with 0 and the check, even with no asset of it.
    choose(QStringLiteral("Videos (1)"));
    EXPECT_EQ(storedFilter(), 19);
    EXPECT_EQ(view->title()->text(), QStringLiteral("Home Inventory (Videos)"));
    EXPECT_EQ(rows(), (QStringList { "Casablanca" }));
    exec("UPDATE Assets SET CategoryId=0 WHERE AssetId=3;");
    EXPECT_EQ(menuTexts(),
              (QStringList { "&All Categories", "-", "Furniture (2)", "Videos (0)*" }));

    // A category id past the old 5,000 limit is an entry like any other.
    exec("INSERT INTO Categories (CategoryId, Description, CategoryType) VALUES "
         "(70000, 'Wine & Spirits', 1);");
    exec("UPDATE Assets SET CategoryId=70000 WHERE AssetId=4;");
    choose(QStringLiteral("Wine && Spirits (1)"));
    EXPECT_EQ(view->filter(), 70000);
    EXPECT_EQ(rows(), (QStringList { "Box of odds" }));
    EXPECT_EQ(view->title()->text(), QStringLiteral("Home Inventory (Wine & Spirits)"));

    choose(QStringLiteral("&All Categories"));
    EXPECT_EQ(storedFilter(), 0);
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(InventoryView, AHomeWithNoAssetsHasNoSeparatorUnlessFiltered)
{
    exec("DELETE FROM Assets;");
    shown().Refresh(0);
    EXPECT_EQ(menuTexts(), (QStringList { "&All Categories*" }));
    EXPECT_EQ(view->inventoryTotal(), 0.0);
    view->SetFilter(2);
    EXPECT_EQ(menuTexts(), (QStringList { "&All Categories", "-", "Art (0)*" }));
}

TEST_F(InventoryView, TheFilterStaysAcrossAHomeSwitch)
{
    shown().SetFilter(8);
    EXPECT_EQ(rows(), (QStringList { "Armchair", "sofa" }));
    host.SetCurrentHome(2);
    view->Refresh(0);
    EXPECT_EQ(rows(), (QStringList { "Bench" }));
    EXPECT_EQ(view->inventoryTotal(), 40.0);

    // A new view (the next run) starts with the stored filter.
    delete view;
    view = nullptr;
    shown().Refresh(0);
    EXPECT_EQ(view->filter(), 8);
    EXPECT_EQ(rows(), (QStringList { "Bench" }));
}

TEST_F(InventoryView, ADeletedFilterCategoryListsNothingUntilAllCategories)
{
    host.key.WriteNumber(QStringLiteral("InventoryCategory"), 8);
    exec("DELETE FROM Categories WHERE CategoryId=8;");
    shown().Refresh(0);
    EXPECT_EQ(view->title()->text(), QStringLiteral("Home Inventory ()"));
    EXPECT_EQ(rows(), (QStringList { "Armchair", "sofa" })); // the assets still say 8
    exec("UPDATE Assets SET CategoryId=0 WHERE CategoryId=8;");
    view->Refresh(0);
    EXPECT_TRUE(rows().isEmpty());

    choose(QStringLiteral("&All Categories"));
    EXPECT_EQ(view->title()->text(), QStringLiteral("Home Inventory (All)"));
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(InventoryView, DeleteAsksThenRemovesTheRowAndItsValue)
{
    shown().SetFilter(19);
    view->list()->SetCurSel(0);
    view->list()->setFocus();

    ui.answer(Ui::No);
    QTest::keyClick(view->list(), Qt::Key_Delete);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("This asset will be deleted. Continue?"));
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(ui.messages()[0].buttons, Ui::Yes | Ui::No);
    EXPECT_EQ(rows().size(), 1);

    host.calls.clear();
    ui.answer(Ui::Yes);
    QTest::keyClick(view->list(), Qt::Key_Delete);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(view->inventoryTotal(), 0.0);
    EXPECT_EQ(view->shownAssetId(), 0);
    EXPECT_TRUE(view->descriptionBox()->toPlainText().isEmpty());
    EXPECT_TRUE(host.calls.contains(QStringLiteral("UpdateTodayLines")));
    CADORecordset rs(host.db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE AssetId=3;")));
    qint32 left = -1;
    rs.GetLong(0, left);
    EXPECT_EQ(left, 0);

    // Nothing selected: the key asks nothing.
    QTest::keyClick(view->list(), Qt::Key_Delete);
    EXPECT_EQ(ui.messages().size(), 2u);
    EXPECT_FALSE(view->HasSelection());
}

TEST_F(InventoryView, SpaceAndDoubleClickOpenTheSheetAndTheMenuKeyThePopup)
{
    shown().Refresh(2);
    view->list()->setFocus();
    ui.onNextDialog([](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Armchair"));
        Fill::text(sheet, "description", QStringLiteral("Zebra chair"));
        Fill::text(sheet, "currentValue", QStringLiteral("5"));
        Fill::click(sheet, "ok");
    });
    QTest::keyClick(view->list(), Qt::Key_Space);
    EXPECT_EQ(rows(), (QStringList { "Box of odds", "Casablanca", "sofa", "Zebra chair" }));
    EXPECT_EQ(view->list()->GetCurSel(), 3);
    EXPECT_TRUE(view->descriptionBox()->toPlainText().startsWith("Current value: "));
    EXPECT_NEAR(view->inventoryTotal(), 15.4, 1e-6);

    ui.onNextDialog([](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Zebra chair"));
    });
    QApplication::processEvents();
    const QRect cell = view->list()->visualRect(view->list()->model()->index(3, 0));
    QTest::mouseClick(view->list()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->list()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(ui.dialogTitles().size(), 2);

    host.calls.clear();
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(2, 2),
                              view->list()->viewport()->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(view->list()->viewport(), &menuKey);
    EXPECT_EQ(host.calls, (QStringList { "ShowContextMenu" }));
    view->OnContextNew();
    EXPECT_EQ(host.calls.last(), QStringLiteral("NewAsset"));
}

TEST_F(InventoryView, TheCategoryMenuOpensUnderTheTitle)
{
    host.window.resize(520, 420);
    shown().resize(520, 420);
    view->Refresh(1);
    QTest::mouseClick(view->title(), Qt::LeftButton);
    ASSERT_NE(view->categoryMenu(), nullptr);
    EXPECT_TRUE(view->categoryMenu()->isVisible());
    QApplication::processEvents();
    const QPoint expected =
        view->mapToGlobal(QPoint(view->title()->x() - 20, view->title()->geometry().bottom() + 1));
    EXPECT_EQ(view->categoryMenu()->pos(), expected);
    view->categoryMenu()->hide();

    // From the keyboard: Alt+C while the list has the focus.
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    view->list()->setFocus();
    QTest::keyClick(view->list(), Qt::Key_C, Qt::AltModifier);
    EXPECT_TRUE(view->categoryMenu()->isVisible());
    QPixmap shot = host.window.grab();
    {
        QPainter painter(&shot);
        const QPoint at = host.window.mapFromGlobal(view->categoryMenu()->pos());
        painter.drawPixmap(at, view->categoryMenu()->grab());
    }
    Screenshots::save(shot, QStringLiteral("inventory_menu"));
    view->categoryMenu()->hide();
}

class InventorySearch : public InventoryView
{
protected:
    void SetUp() override
    {
        InventoryView::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        exec("INSERT INTO Areas (AreaId, HomeId, Description) VALUES (7, 1, 'Living Room');");
        exec("UPDATE Assets SET Vendor='Café Rouge' WHERE AssetId=1;");
        exec("UPDATE Assets SET SerialNumber='SN-42', AreaId=7 WHERE AssetId=2;");
        exec("UPDATE Assets SET Notes='Bought in ZÜRICH' WHERE AssetId=4;");
    }
    void TearDown() override { resetUserLocale(); }

    // Types into the search box as a person does, after emptying it.
    void type(const QString &text)
    {
        QLineEdit *box = view->searchBox();
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        for (QChar c : text) {
            // A key of its own for letters beyond ASCII, as a keyboard layout gives them.
            if (c.unicode() < 0x80)
                QTest::keyClick(box, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
        }
    }
    QString line() const
    {
        return view->matchLine()->isVisibleTo(view) ? view->matchLine()->text() : QString();
    }
};

TEST_F(InventorySearch, TypingListsTheAssetsHoldingEveryWordInAnyText)
{
    shown().Refresh(1);
    host.calls.clear();
    EXPECT_EQ(line(), QString());
    // A screen reader reads the box by its name and what it does, and while the list is
    // narrowed, the count.
    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(view->searchBox());
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->text(QAccessible::Name).isEmpty());
    EXPECT_EQ(box->text(QAccessible::Description), view->searchBox()->toolTip());

    // Ctrl+F from the list reaches the box.
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));
    view->list()->setFocus();
    QTest::keyClick(view->list(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(view->searchBox()->hasFocus());

    const struct
    {
        const char *typed;
        QStringList rows;
    } searches[] = {
        { "CAFE", { "sofa" } }, // the vendor, without case or accent
        { "living", { "Armchair" } }, // the location's name
        { "furniture", { "Armchair", "sofa" } }, // the category's name
        { "sn-42 FURNITURE", { "Armchair" } }, // two words from two texts
        { "furniture zurich", {} }, // every word must be there
        { "zürich", { "Box of odds" } }, // the notes
        { "romance", { "Casablanca" } }, // a video's genre
        { "chesterfield sof", { "sofa" } }, // make and model, and the description
        { "u", { "Armchair", "Box of odds", "sofa" } },
    };
    for (const auto &s : searches) {
        type(QString::fromUtf8(s.typed));
        EXPECT_EQ(rows(), s.rows) << s.typed;
        EXPECT_EQ(line(), QStringLiteral("%1 of 4 assets").arg(s.rows.size())) << s.typed;
        EXPECT_EQ(box->text(QAccessible::Description), line()) << s.typed;
    }

    // The search narrows the list only: the worth stays the inventory's, Today is not asked.
    EXPECT_NEAR(view->inventoryTotal(), 10.6, 1e-9);
    EXPECT_FALSE(host.calls.contains(QStringLiteral("UpdateTodayLines")));

    // Letter by letter, and back with Backspace.
    type(QStringLiteral("bo"));
    EXPECT_EQ(rows(), (QStringList { "Box of odds" }));
    QTest::keyClick(view->searchBox(), Qt::Key_Backspace);
    EXPECT_EQ(rows(), (QStringList { "Box of odds", "Casablanca" }));
    EXPECT_EQ(line(), QStringLiteral("2 of 4 assets"));
}

TEST_F(InventorySearch, EscapeBringsBackTheListAndTheSelection)
{
    shown().Refresh(1);
    EXPECT_EQ(view->shownAssetId(), 1);
    host.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.window));

    // A search that hides the selected asset leaves nothing selected or described.
    type(QStringLiteral("arm"));
    EXPECT_EQ(rows(), (QStringList { "Armchair" }));
    EXPECT_FALSE(view->HasSelection());
    EXPECT_TRUE(view->descriptionBox()->toPlainText().isEmpty());

    QTest::keyClick(view->searchBox(), Qt::Key_Escape);
    EXPECT_TRUE(view->searchBox()->text().isEmpty());
    EXPECT_EQ(rows().size(), 4);
    EXPECT_EQ(line(), QString());
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(view->searchBox())->text(QAccessible::Description),
        view->searchBox()->toolTip());
    EXPECT_EQ(view->shownAssetId(), 1);
    EXPECT_EQ(view->list()->GetCurSel(), 3);
    EXPECT_TRUE(view->descriptionBox()->toPlainText().startsWith(QStringLiteral("Chesterfield")));

    // Down goes on to the first match; that one stays selected when the search is cleared.
    type(QStringLiteral("arm"));
    QTest::keyClick(view->searchBox(), Qt::Key_Down);
    EXPECT_TRUE(view->list()->hasFocus());
    EXPECT_EQ(view->shownAssetId(), 2);
    view->searchBox()->setFocus();
    QTest::keyClick(view->searchBox(), Qt::Key_Escape);
    EXPECT_EQ(rows().size(), 4);
    EXPECT_EQ(view->list()->GetCurSel(), 0);
    EXPECT_EQ(view->shownAssetId(), 2);
    // Escape in an empty box does nothing of its own.
    QTest::keyClick(view->searchBox(), Qt::Key_Escape);
    EXPECT_EQ(view->shownAssetId(), 2);
}

TEST_F(InventorySearch, TheSearchHoldsThroughEditsDeletesAndTheCategoryFilter)
{
    shown().Refresh(0);
    type(QStringLiteral("chair"));
    view->list()->SetCurSel(0);
    view->list()->setFocus();

    // An edit that keeps the words keeps the asset listed and described ...
    ui.onNextDialog([](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Zebra chair"));
        Fill::click(sheet, "ok");
    });
    QTest::keyClick(view->list(), Qt::Key_Space);
    EXPECT_EQ(rows(), (QStringList { "Zebra chair" }));
    EXPECT_EQ(view->shownAssetId(), 2);
    // ... one that drops them empties the box: the asset just saved stays in sight, selected.
    ui.onNextDialog([](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Zebra"));
        Fill::click(sheet, "ok");
    });
    QTest::keyClick(view->list(), Qt::Key_Space);
    EXPECT_TRUE(view->searchBox()->text().isEmpty());
    EXPECT_EQ(rows().size(), 4);
    EXPECT_EQ(line(), QString());
    EXPECT_EQ(view->list()->GetItemText(view->list()->GetCurSel(), 0), QStringLiteral("Zebra"));
    EXPECT_EQ(view->shownAssetId(), 2);

    // Deleting a match counts it out of both numbers and out of the worth.
    type(QStringLiteral("box"));
    EXPECT_EQ(line(), QStringLiteral("1 of 4 assets"));
    view->list()->SetCurSel(0);
    ui.answer(Ui::Yes);
    view->DeleteSelected();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(line(), QStringLiteral("0 of 3 assets"));
    EXPECT_NEAR(view->inventoryTotal(), 0.6, 1e-6); // the sheet stored 0.2 at single precision

    // The category filter and its setting keep their meaning; the search works within it.
    type(QStringLiteral("a"));
    view->SetFilter(8);
    EXPECT_EQ(storedFilter(), 8);
    EXPECT_EQ(rows(), (QStringList { "sofa", "Zebra" }));
    EXPECT_NEAR(view->inventoryTotal(), 0.3, 1e-6);
}

// Names renamed elsewhere (the Locations view, an asset sheet's Categories button) are searched
// by their new names from the next keystroke, or as soon as the view is shown again.
TEST_F(InventorySearch, RenamedLocationsAndCategoriesAreFoundByTheirNewNames)
{
    shown().Refresh(0);
    type(QStringLiteral("living"));
    EXPECT_EQ(rows(), (QStringList { "Armchair" }));

    view->hide();
    exec("UPDATE Areas SET Description='Lounge' WHERE AreaId=7;");
    view->show();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(line(), QStringLiteral("0 of 4 assets"));
    type(QStringLiteral("lounge"));
    EXPECT_EQ(rows(), (QStringList { "Armchair" }));

    exec("UPDATE Categories SET Description='Seating' WHERE CategoryId=8;");
    type(QStringLiteral("seating"));
    EXPECT_EQ(rows(), (QStringList { "Armchair", "sofa" }));
}

TEST_F(InventorySearch, ALargeInventoryCountsWithTheLocalesGrouping)
{
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1200) "
         "INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, Notes) "
         "SELECT 100 + i, 1, 12, 'Lamp ' || i, CASE WHEN i % 100 = 0 THEN 'Crème' END FROM n;");
    shown().Refresh(0);
    type(QStringLiteral("lamp"));
    EXPECT_EQ(line(), QStringLiteral("1,200 of 1,204 assets"));
    QTest::keyClicks(view->searchBox(), QStringLiteral(" creme"));
    EXPECT_EQ(rows().size(), 12);
    EXPECT_EQ(rows().first(), QStringLiteral("Lamp 100"));
    EXPECT_EQ(line(), QStringLiteral("12 of 1,204 assets"));
    Screenshots::save(host.window, QStringLiteral("inventory_search"));
}

} // namespace
