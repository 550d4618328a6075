#include "../app/frame_fixture.h"
#include "app/command_ids.h"
#include "app/main_frame.h"
#include "controls/auto_list_ctrl.h"
#include "db/ado_recordset.h"
#include "views/home_mgr_view.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class HomesView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("beta") },
                        { 2, QStringLiteral("Gamma") },
                        { 3, QStringLiteral("Alpha") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 0);
        frame = &run.start();
        list = frame->homesView()->list();
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int row = 0; row < list->GetItemCount(); ++row)
            texts << list->GetItemText(row, 0);
        return texts;
    }

    void clickRow(int row)
    {
        const QRect cell = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    int count(const QString &sql)
    {
        CADORecordset rs(run.app->database());
        EXPECT_TRUE(rs.Open(sql));
        qint32 n = -1;
        rs.GetLong(0, n);
        return n;
    }

    ProgramRun run;
    CMainFrame *frame = nullptr;
    CAutoListCtrl *list = nullptr;
};

TEST_F(HomesView, ListsHomesByDescriptionAndAClickMakesOneCurrent)
{
    EXPECT_EQ(rows(), (QStringList { "Alpha", "beta", "Gamma" }));
    EXPECT_EQ(list->GetItemData(1), 1);
    frame->show();
    list->resize(400, 300);
    clickRow(2);
    EXPECT_EQ(frame->currentHomeId(), 2);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::TodayIndex);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Gamma - Domelio"));
    EXPECT_EQ(run.lastHomeId(), 2);

    // From the keyboard: Enter picks the selected home.
    frame->action(Command::SelectHome)->trigger();
    list->SetCurSel(0);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(frame->currentHomeId(), 3);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Alpha - Domelio"));
}

TEST_F(HomesView, DeleteKeyAsksFirst)
{
    run.seedHomes({});
    ASSERT_TRUE(run.app->database().Execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId) VALUES (10, 1);")));
    list->SetCurSel(1); // beta, id 1
    list->setFocus();

    run.ui.answer(Ui::No);
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.messages()[0].text,
              QStringLiteral("This home and all the data you have entered about it will be "
                             "permanently deleted. Continue?"));
    EXPECT_EQ(run.ui.messages()[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(run.ui.messages()[0].buttons, Ui::Yes | Ui::No);
    EXPECT_EQ(rows().size(), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 1);

    run.ui.answer(Ui::Yes);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(rows(), (QStringList { "Alpha", "Gamma" }));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Homes WHERE HomeId=1;")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Assets;")), 0);

    // Without a selection neither the key nor the popup asks anything.
    list->SetCurSel(-1);
    QTest::keyClick(list, Qt::Key_Delete);
    frame->action(Command::ContextDelete)->trigger();
    EXPECT_EQ(run.ui.messages().size(), 2u);
}

TEST_F(HomesView, PropertiesSelectsTheSameRowAgain)
{
    list->SetCurSel(1);
    run.ui.onNextDialog([](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("beta"));
        Fill::text(sheet, "description", QStringLiteral("Zulu"));
        Fill::click(sheet, "cancel");
    });
    frame->action(Command::ContextProperties)->trigger();
    EXPECT_EQ(run.ui.dialogTitles().size(), 1);
    EXPECT_EQ(rows(), (QStringList { "Alpha", "beta", "Gamma" }));
    EXPECT_EQ(list->GetCurSel(), 1);

    // Confirmed: the list is read again (the renamed home moves) and the index is re-selected.
    run.ui.onNextDialog([](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Zulu"));
        Fill::click(sheet, "ok");
    });
    frame->action(Command::ContextProperties)->trigger();
    EXPECT_EQ(rows(), (QStringList { "Alpha", "Gamma", "Zulu" }));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(frame->currentHomeId(), -1); // editing does not make it current
}

TEST_F(HomesView, PopupOffersDeleteAndPropertiesOnlyWithASelection)
{
    frame->ShowContextMenu(); // as from the keyboard
    EXPECT_TRUE(frame->contextMenu()->isVisible());
    EXPECT_TRUE(frame->action(Command::ContextNew)->isEnabled());
    EXPECT_FALSE(frame->action(Command::ContextDelete)->isEnabled());
    EXPECT_FALSE(frame->action(Command::ContextProperties)->isEnabled());
    frame->contextMenu()->hide();

    list->SetCurSel(2);
    frame->ShowContextMenu(QPoint(40, 60));
    EXPECT_TRUE(frame->action(Command::ContextDelete)->isEnabled());
    EXPECT_TRUE(frame->action(Command::ContextProperties)->isEnabled());
    frame->contextMenu()->hide();
}

TEST_F(HomesView, PopupNewMakesANewHomeCurrent)
{
    run.ui.onNextDialog([](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Chalet"));
        Fill::click(sheet, "ok");
    });
    frame->action(Command::ContextNew)->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Chalet - Domelio"));
    EXPECT_EQ(rows(), (QStringList { "Alpha", "beta", "Chalet", "Gamma" }));
    EXPECT_EQ(list->GetCurSel(), 2);
}

TEST(HomesViewEmpty, ClickingAnEmptyListDoesNothing)
{
    ProgramRun run;
    run.writeSetting(QStringLiteral("LastHomeId"), 0);
    CMainFrame &frame = run.start();
    CAutoListCtrl *list = frame.homesView()->list();
    EXPECT_EQ(list->GetItemCount(), 0);
    frame.show();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::HomesIndex);
    EXPECT_TRUE(run.ui.messages().empty());
}

} // namespace
