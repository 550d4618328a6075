#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "frame_fixture.h"
#include "views/home_mgr_view.h"
#include "views/inventory_view.h"
#include "views/rooms_view.h"
#include "views/tasks_view.h"
#include "views/today_view.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class MainFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Cabin") }, { 2, QStringLiteral("Villa") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 0); // no home current at start
        frame = &run.start();
    }

    static constexpr const char *kNotYet = "This command is not available yet.";

    ProgramRun run;
    CMainFrame *frame = nullptr;
};

TEST_F(MainFrame, HomeDependentCommandsFollowTheCurrentHome)
{
    auto enabled = [&](int id) {
        bool all = true;
        for (QAction *a : frame->commandActions(id))
            all = all && a->isEnabled();
        return all;
    };
    // Home Today, Home Inventory, Locations, Loan Manager, Recommend Movie, New Asset,
    // New Location, New Video/DVD, Export, Import, Print Inventory Report, Print Labels,
    // Warranties and Maintenance need a current home; nothing else does.
    const int homeDependent[] = { 32771, 32773, 32774, 32775, 32776, 32781, 32782,
                                  32783, 32793, 32810, 32811, 32812, 32830, 32831 };
    const int alwaysEnabled[] = { 32772, 32777, 32780, 32784, 32785, 32787,
                                  32789, 32790, 32791, 32792, 57664, 57665 };
    ASSERT_EQ(frame->currentHomeId(), -1);
    for (int id : homeDependent)
        EXPECT_FALSE(enabled(id)) << id;
    for (int id : alwaysEnabled)
        EXPECT_TRUE(enabled(id)) << id;
    // The toolbar shows it as well.
    EXPECT_FALSE(frame->toolButton(Command::TodayView)->isEnabled());
    EXPECT_FALSE(frame->toolButton(Command::LoanManager)->isEnabled());
    EXPECT_TRUE(frame->toolButton(Command::TasksView)->isEnabled());
    EXPECT_TRUE(frame->toolButton(Command::Sync)->isEnabled());

    ASSERT_TRUE(frame->SetCurrentHome(2));
    for (int id : homeDependent)
        EXPECT_TRUE(enabled(id)) << id;
    for (int id : alwaysEnabled)
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Villa - Domelio"));
    EXPECT_TRUE(frame->toolButton(Command::TodayView)->isChecked());

    frame->action(Command::SelectHome)->trigger();
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::HomesIndex);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Domelio"));
    for (int id : homeDependent)
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(frame->toolButton(Command::TodayView)->isChecked());
}

TEST_F(MainFrame, NewButtonFollowsTheVisibleView)
{
    // Homes view: a new home.
    run.ui.onNextDialog([](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Barn"));
        Fill::click(sheet, "ok");
    });
    frame->toolButton(Command::NewButton)->click();
    ASSERT_EQ(run.ui.dialogTitles(), QStringList { QStringLiteral("Home Profile") });
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Barn - Domelio"));
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(frame->homesView()->list()->GetItemCount(), 3);

    // Tasks view: the General Tasks pool.
    frame->toolButton(Command::TasksView)->click();
    frame->toolButton(Command::NewButton)->click();
    EXPECT_EQ(run.ui.dialogTitles(),
              (QStringList { QStringLiteral("Home Profile"), QStringLiteral("General Tasks") }));
    EXPECT_TRUE(run.ui.messages().empty());

    // The button's arrow pops up File > New.
    EXPECT_EQ(frame->toolButton(Command::NewButton)->menu(), frame->newMenu());
    EXPECT_EQ(frame->toolButton(Command::NewButton)->popupMode(), QToolButton::MenuButtonPopup);
}

TEST_F(MainFrame, ChoosingTheVisibleViewAgainDoesNothing)
{
    QSignalSpy switched(frame, &CMainFrame::viewSwitched);
    QToolButton *tasks = frame->toolButton(Command::TasksView);
    tasks->click();
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TasksIndex);
    EXPECT_TRUE(tasks->isChecked());
    tasks->click();
    frame->action(Command::TasksView)->trigger();
    EXPECT_EQ(switched.count(), 1);
    EXPECT_TRUE(tasks->isChecked()); // a second click does not release the visible view's button

    // Disabled view commands cannot be reached without a home.
    frame->action(Command::InventoryView)->trigger();
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TasksIndex);
}

// A screen reader or voice control presses a view button with its accessible Toggle action,
// which toggles the button without clicking it: the view still follows.
TEST_F(MainFrame, AViewButtonToggledThroughTheAccessibilityBusSwitchesTheView)
{
    ASSERT_TRUE(frame->SetCurrentHome(1));
    auto toggle = [&](int command) {
        QAccessibleInterface *button =
            QAccessible::queryAccessibleInterface(frame->toolButton(command));
        ASSERT_NE(button, nullptr);
        ASSERT_NE(button->actionInterface(), nullptr);
        ASSERT_TRUE(button->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    };
    toggle(Command::TasksView);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TasksIndex);
    EXPECT_TRUE(frame->toolButton(Command::TasksView)->isChecked());
    EXPECT_FALSE(frame->toolButton(Command::TodayView)->isChecked());

    // Toggling the visible view's button keeps it pressed, as a click does.
    toggle(Command::TasksView);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TasksIndex);
    EXPECT_TRUE(frame->toolButton(Command::TasksView)->isChecked());

    toggle(Command::InventoryView);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::InventoryIndex);
    EXPECT_TRUE(frame->toolButton(Command::InventoryView)->isChecked());
    EXPECT_FALSE(frame->toolButton(Command::TasksView)->isChecked());
}

TEST_F(MainFrame, ViewsSwitchInTheirOrderAndOnlyOneIsVisible)
{
    ASSERT_TRUE(frame->SetCurrentHome(1));
    const struct
    {
        int command;
        int index;
    } steps[] = { { Command::InventoryView, CMainFrame::InventoryIndex },
                  { Command::LocationsView, CMainFrame::LocationsIndex },
                  { Command::TasksView, CMainFrame::TasksIndex },
                  { Command::TodayView, CMainFrame::TodayIndex } };
    for (const auto &step : steps) {
        frame->toolButton(step.command)->click();
        EXPECT_EQ(frame->currentViewIndex(), step.index);
        for (const auto &other : steps)
            EXPECT_EQ(frame->toolButton(other.command)->isChecked(), other.command == step.command);
        int visible = 0;
        for (QWidget *view : { static_cast<QWidget *>(frame->homesView()),
                               static_cast<QWidget *>(frame->todayView()),
                               static_cast<QWidget *>(frame->inventoryView()),
                               static_cast<QWidget *>(frame->locationsView()),
                               static_cast<QWidget *>(frame->tasksView()) })
            visible += view->isVisible() ? 1 : 0;
        EXPECT_EQ(visible, 1);
        EXPECT_TRUE(frame->activeView()->isVisible());
    }
}

TEST_F(MainFrame, ACancelledNewLocationStaysOnTheViewItCameFrom)
{
    ASSERT_TRUE(frame->SetCurrentHome(1));
    frame->action(Command::NewLocation)->trigger();
    EXPECT_TRUE(run.ui.messages().empty());
    EXPECT_EQ(run.ui.dialogTitles(), QStringList { QStringLiteral("Location Properties") });
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);

    frame->action(Command::About)->trigger();
    EXPECT_EQ(run.ui.dialogTitles().last(), QStringLiteral("About Domelio"));
}

TEST_F(MainFrame, ReloadAfterDataReplacementDropsTheCurrentHome)
{
    ASSERT_TRUE(frame->SetCurrentHome(1));
    run.seedHomes({ { 7, QStringLiteral("Annex") } }); // as if a restore had brought it
    frame->ReloadAfterDataReplacement();
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::HomesIndex);
    EXPECT_EQ(frame->currentHomeId(), -1);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Domelio"));
    EXPECT_EQ(frame->homesView()->list()->GetItemCount(), 3);
    EXPECT_EQ(frame->homesView()->list()->GetCurSel(), -1);
}

TEST_F(MainFrame, TheMenuKeyOpensTheSharedPopupJustInsideTheClientArea)
{
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    frame->activateWindow();
    CAutoListCtrl *list = frame->homesView()->list();
    list->setFocus();
    QMenu *menu = frame->contextMenu();

    // The window system turns the menu key (or Shift+F10) into a keyboard context-menu event for
    // the focus widget; the offscreen platform has no keyboard of its own, so the test sends
    // that event where the window system would.
    ASSERT_EQ(QApplication::focusWidget(), list);
    const QPoint caret = list->rect().center();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, caret, list->mapToGlobal(caret));
    QApplication::sendEvent(list, &key);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), frame->centralWidget()->mapToGlobal(QPoint(5, 5)));
    menu->hide();

    // With the mouse it opens where the pointer is.
    const QPoint at = list->viewport()->rect().center() + QPoint(7, 3);
    QTest::mouseClick(list->viewport()->windowHandle() ? list->viewport()->windowHandle()
                                                       : frame->windowHandle(),
                      Qt::RightButton, {}, list->viewport()->mapTo(frame, at));
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), list->viewport()->mapToGlobal(at));
    menu->hide();
}

// Every menu and popup the frame and its views have, as the program made them, gives each entry a
// mnemonic of its own. Only the entries named after the user's categories have none: a name the
// user typed is not a command, and its "&" is a letter.
TEST_F(MainFrame, EveryEntryOfEveryMenuHasAMnemonicOfItsOwn)
{
    CADODataBase &db = run.app->database();
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Categories (CategoryId, Description, "
                                          "CategoryType) VALUES (70000, 'Arts & Crafts', 1);")));
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, "
                                          "Description) VALUES (1, 1, 70000, 'Easel'), "
                                          "(2, 1, 8, 'Sofa');")));
    ASSERT_TRUE(frame->SetCurrentHome(1));
    // Every view made, and the menus they make when first opened opened once.
    frame->locationsView();
    frame->tasksView();
    frame->inventoryView()->ShowCategoryMenu();
    QMenu *categories = frame->inventoryView()->categoryMenu();
    ASSERT_NE(categories, nullptr);
    categories->hide();

    std::vector<std::pair<QString, QList<QAction *>>> menus = { { QStringLiteral("menu bar"),
                                                                  frame->menuBar()->actions() } };
    for (const QMenu *menu : frame->findChildren<QMenu *>())
        menus.emplace_back(menu->title() + QLatin1Char('/') + menu->objectName(), menu->actions());
    QStringList checked;
    for (const auto &[name, actions] : menus) {
        QStringList keys;
        for (const QAction *entry : actions) {
            if (entry->isSeparator())
                continue;
            const QString key = QKeySequence::mnemonic(entry->text()).toString();
            const bool userName =
                name.endsWith(QLatin1String("/categoryMenu")) && entry->data().toInt() > 0;
            if (userName) {
                EXPECT_TRUE(key.isEmpty()) << entry->text().toStdString();
                continue;
            }
            EXPECT_FALSE(key.isEmpty())
                << name.toStdString() << ": " << entry->text().toStdString();
            EXPECT_FALSE(keys.contains(key, Qt::CaseInsensitive))
                << name.toStdString() << ": " << entry->text().toStdString() << " repeats "
                << key.toStdString();
            keys << key;
        }
        checked << name;
    }
    // The menus a person meets: the bar, File, New, Tools, Help, the shared popup, the Tasks
    // view's View menu and the inventory's categories.
    EXPECT_GE(checked.size(), 8) << checked.join(QStringLiteral(", ")).toStdString();
}

TEST_F(MainFrame, ClientAreaCannotShrinkBelowItsMinimum)
{
    frame->resize(200, 150);
    EXPECT_GE(frame->width(), CMainFrame::kMinClientWidth);
    EXPECT_GE(frame->height() - frame->menuBar()->sizeHint().height(),
              CMainFrame::kMinClientHeight);
}

} // namespace
