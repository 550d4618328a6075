#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "format/string_table.h"
#include "frame_fixture.h"
#include "views/home_mgr_view.h"

#include <gtest/gtest.h>

namespace {

TEST(InitialHome, FirstRunLeadsThroughTheHomeProfileToTheNewHome)
{
    ProgramRun run;
    run.ui.onNextDialog([](QDialog &sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Home Profile"));
        Fill::text(sheet, "description", QStringLiteral("Main house"));
        Fill::click(sheet, "ok");
    });
    CMainFrame &frame = run.start(/*greet=*/true);

    const auto &shown = run.ui.messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Welcome to Domelio v1.3!")));
    EXPECT_EQ(shown[1].text, Strings::load(Strings::AskHandheldUsed));
    EXPECT_EQ(shown[1].icon, Ui::Icon::Question);
    EXPECT_EQ(shown[1].buttons, Ui::Yes | Ui::No);
    EXPECT_EQ(shown[1].answer, Ui::No); // the default button
    EXPECT_EQ(shown[2].text, Strings::load(Strings::GreetingHomeSetup));

    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Main house - Domelio"));
    ASSERT_GE(frame.currentHomeId(), 1);
    const qint32 id = frame.currentHomeId();
    EXPECT_EQ(run.lastHomeId(), id);
    EXPECT_TRUE(frame.isCommandEnabled(Command::TodayView));
    // The Homes view lists the new home, selected.
    CAutoListCtrl *list = frame.homesView()->list();
    ASSERT_EQ(list->GetItemCount(), 1);
    EXPECT_EQ(list->GetItemData(0), id);
    EXPECT_EQ(list->GetCurSel(), 0);

    // The next start opens that home directly: no greeting, no question.
    CMainFrame &again = run.start(/*greet=*/true);
    EXPECT_EQ(run.ui.messages().size(), 3u);
    EXPECT_EQ(again.currentHomeId(), id);
    EXPECT_EQ(again.currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(again.windowTitle(), QStringLiteral("Main house - Domelio"));
}

TEST(InitialHome, FirstRunCancelledOrAnsweredYesLeavesTheHomesView)
{
    {
        ProgramRun run;
        run.ui.onNextDialog([](QDialog &sheet) { Fill::click(sheet, "cancel"); });
        CMainFrame &frame = run.start();
        EXPECT_EQ(run.ui.dialogTitles(), QStringList { QStringLiteral("Home Profile") });
        EXPECT_EQ(frame.currentViewIndex(), CMainFrame::HomesIndex);
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("Domelio"));
        EXPECT_FALSE(run.lastHomeId().has_value());
    }
    {
        ProgramRun run;
        run.ui.answer(Ui::Yes);
        CMainFrame &frame = run.start();
        ASSERT_EQ(run.ui.messages().size(), 2u);
        EXPECT_EQ(run.ui.messages()[1].text, Strings::load(Strings::HandheldSyncAdvice));
        EXPECT_TRUE(run.ui.dialogTitles().isEmpty());
        EXPECT_EQ(frame.currentViewIndex(), CMainFrame::HomesIndex);
        EXPECT_EQ(frame.currentHomeId(), -1);
    }
}

TEST(InitialHome, ALastHomeThatIsGoneFallsBackToTheHomesView)
{
    ProgramRun run;
    run.seedHomes({ { 3, QStringLiteral("Cabin") } });
    run.writeSetting(QStringLiteral("LastHomeId"), 9);
    CMainFrame &frame = run.start();
    EXPECT_TRUE(run.ui.messages().empty());
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::HomesIndex);
    EXPECT_EQ(frame.currentHomeId(), -1);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Domelio"));
    EXPECT_EQ(frame.homesView()->list()->GetItemCount(), 1);
    EXPECT_FALSE(frame.isCommandEnabled(Command::InventoryView));
    // Nothing rewrote the setting: only a home becoming current does.
    EXPECT_EQ(run.lastHomeId(), 9);
}

TEST(InitialHome, WindowPlacementIsSavedOnCloseAndRestoredNextTime)
{
    ProgramRun run;
    run.writeSetting(QStringLiteral("LastHomeId"), 0);
    CMainFrame &frame = run.start();
    frame.resize(700, 560);
    const QSize size = frame.size();
    frame.close();
    QByteArray stored;
    EXPECT_TRUE(run.app->settings().ReadBinary(QStringLiteral("WindowPlacement"), stored));
    EXPECT_EQ(stored.size(), 40);

    CMainFrame &again = run.start();
    EXPECT_EQ(again.size(), size);
}

} // namespace
