// A scanner typing a label's code and Enter into the real main window: into the Home Inventory's
// search box, or anywhere outside a text box.
#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "db/lookups.h"
#include "records/area.h"
#include "records/asset.h"
#include "records/label_code.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using LabelCode::Kind;

class LabelScanning : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Town house") }, { 2, QStringLiteral("Cabin") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        for (int i = 0; i < 40; ++i)
            add(db, 1, QStringLiteral("Book %1").arg(i, 2, 10, QLatin1Char('0')), 3);
        kettle = add(db, 1, QStringLiteral("Kettle"), 1);
        canoe = add(db, 2, QStringLiteral("Canoe"), 6);
        CArea shed;
        shed.m_nHomeId = 2;
        shed.m_strDescription = QStringLiteral("Boat shed");
        ASSERT_TRUE(shed.Save(db));
        boatShed = shed.id();
        CArea hall;
        hall.m_nHomeId = 1;
        hall.m_strDescription = QStringLiteral("Hall");
        ASSERT_TRUE(hall.Save(db));
        const qint32 gone = add(db, 1, QStringLiteral("Old radio"), 1);
        ASSERT_TRUE(CAsset(gone).Delete(db));
        deleted = gone;
    }

    static qint32 add(CADODataBase &db, qint32 home, const QString &description, qint32 category)
    {
        CAsset asset;
        asset.m_lHomeId = home;
        asset.m_strDescription = description;
        asset.m_lCategoryId = category;
        EXPECT_TRUE(asset.Save(db));
        return asset.id();
    }

    CMainFrame &started()
    {
        CMainFrame &frame = run.start();
        frame.show();
        return frame;
    }

    static QString code(Kind kind, qint32 home, qint32 id)
    {
        return QString::fromLatin1(LabelCode::text({ kind, home, id }));
    }

    // Types text and Enter into widget, as a scanner does. Returns the windows that opened,
    // the first sheet as "title: description"; a second one would mean the Enter reached a list.
    QStringList scan(QWidget *widget, const QString &text, bool sheetExpected = true)
    {
        const qsizetype before = run.ui.dialogTitles().size();
        auto first = std::make_shared<QString>();
        if (sheetExpected)
            run.ui.onNextDialog([first](QDialog &sheet) {
                *first = sheet.windowTitle() + QStringLiteral(": ")
                    + Fill::textOf(sheet, QStringLiteral("description"));
            });
        QTest::keyClicks(widget, text);
        QTest::keyClick(widget, Qt::Key_Return);
        QStringList opened = run.ui.dialogTitles().mid(before);
        if (!opened.isEmpty() && sheetExpected)
            opened[0] = *first;
        return opened;
    }

    qint32 selectedAsset()
    {
        return Lookups::selectedId(*run.frame().inventoryView()->list()->model());
    }

    ProgramRun run;
    qint32 kettle = 0, canoe = 0, boatShed = 0, deleted = 0;
};

TEST_F(LabelScanning, ACodeTypedIntoTheSearchBoxOpensThatAssetOfTheCurrentHome)
{
    CMainFrame &frame = started();
    frame.ShowView(CMainFrame::InventoryIndex);
    CInventoryView &inventory = *frame.inventoryView();
    // A search for something else is in force: the scanned asset is listed all the same.
    QLineEdit *search = inventory.searchBox();
    search->setFocus();
    QTest::keyClicks(search, QStringLiteral("book"));
    ASSERT_EQ(inventory.list()->GetItemCount(), 40);

    search->selectAll();
    const QStringList opened = scan(search, code(Kind::Asset, 1, kettle));
    EXPECT_EQ(opened, QStringList(QStringLiteral("Asset Properties: Kettle")));
    EXPECT_EQ(search->text(), QString());
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::InventoryIndex);
    EXPECT_EQ(inventory.list()->GetItemCount(), 41);
    EXPECT_EQ(selectedAsset(), kettle);
    EXPECT_EQ(inventory.shownAssetId(), kettle);

    // Text that only looks like a code is a search like any other.
    QTest::keyClicks(search, QStringLiteral("DOMELIO:A:1:x"));
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(search->text(), QStringLiteral("DOMELIO:A:1:x"));
    EXPECT_EQ(inventory.list()->GetItemCount(), 0);
}

TEST_F(LabelScanning, ACodeOfAnotherHomeTypedIntoTheWindowSwitchesToThatHome)
{
    CMainFrame &frame = started();
    ASSERT_EQ(frame.currentHomeId(), 1);
    // The Home Inventory lists one category, which the canoe is not in.
    frame.ShowView(CMainFrame::InventoryIndex);
    frame.inventoryView()->SetFilter(3);
    frame.ShowView(CMainFrame::TasksIndex);
    QWidget *focused =
        frame.activeView()->focusProxy() ? frame.activeView()->focusProxy() : frame.activeView();

    // Lower case, as a scanner types with Caps Lock on.
    const QStringList opened = scan(focused, code(Kind::Asset, 2, canoe).toLower());
    EXPECT_EQ(opened, QStringList(QStringLiteral("Asset Properties: Canoe")));
    EXPECT_EQ(frame.currentHomeId(), 2);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Cabin - Domelio"));
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::InventoryIndex);
    EXPECT_EQ(frame.inventoryView()->filter(), 0);
    EXPECT_EQ(selectedAsset(), canoe);
    EXPECT_EQ(*run.lastHomeId(), 2);
}

TEST_F(LabelScanning, ALocationCodeShowsTheLocationInTheLocationsView)
{
    CMainFrame &frame = started();
    frame.ShowView(CMainFrame::InventoryIndex);
    const QStringList opened =
        scan(frame.inventoryView()->list(), code(Kind::Location, 2, boatShed));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(QStringLiteral(": Boat shed"))) << opened[0].toStdString();
    EXPECT_EQ(frame.currentHomeId(), 2);
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::LocationsIndex);
    EXPECT_EQ(frame.locationsView()->shownId(), boatShed);

    // Typed into the Locations list itself, whose Enter opens the selected location: one sheet.
    EXPECT_EQ(scan(frame.locationsView()->list(), code(Kind::Location, 2, boatShed)).size(), 1);
}

TEST_F(LabelScanning, ACodeOfADeletedAssetSaysSoAndChangesNothing)
{
    CMainFrame &frame = started();
    frame.ShowView(CMainFrame::InventoryIndex);
    frame.inventoryView()->list()->setFocus();
    const QStringList opened =
        scan(frame.inventoryView()->list(), code(Kind::Asset, 1, deleted), false);
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.messages()[0].text,
              QStringLiteral("The asset of this label (Domelio #%1) is no longer in the inventory.")
                  .arg(deleted));
    EXPECT_EQ(frame.currentHomeId(), 1);
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::InventoryIndex);

    // The same through the search box.
    QLineEdit *search = frame.inventoryView()->searchBox();
    search->setFocus();
    EXPECT_TRUE(scan(search, code(Kind::Asset, 1, deleted), false).isEmpty());
    EXPECT_EQ(run.ui.messages().size(), 2u);
    EXPECT_EQ(search->text(), QString());
}

} // namespace
