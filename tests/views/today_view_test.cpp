#include "controls/label.h"
#include "format/display_text.h"
#include "records/asset.h"
#include "records/home.h"
#include "records/task.h"
#include "support/fake_view_host.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "views/today_view.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TodayView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        view = new CTodayView(host, &host.window);
        view->setDefaultPicturePath(host.env.root() + QStringLiteral("/no-default.jpg"));
        view->resize(640, 400);
    }
    void TearDown() override { resetUserLocale(); }

    qint32 addHome(const QString &description, float value, const QString &picture = QString())
    {
        CHome home;
        home.m_strDescription = description;
        home.m_fCurrentValue = value;
        home.m_strPicture = picture;
        EXPECT_TRUE(home.Save(host.db));
        return home.id();
    }

    void show(qint32 homeId)
    {
        // As the frame does when the current home changes.
        ASSERT_TRUE(host.SetCurrentHome(homeId));
        view->ComputeEquity();
        view->UpdateLines();
        view->LoadPicture();
    }

    void addTask(qint32 type, qint32 status)
    {
        CTask task;
        task.m_strDescription = QStringLiteral("task");
        task.m_nTaskType = type;
        task.m_nStatus = status;
        ASSERT_TRUE(task.Save(host.db));
    }

    void run(const QString &sql) { ASSERT_TRUE(host.db.Execute(sql)) << sql.toStdString(); }

    QString picture(const QString &name, QSize size, QColor color)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = host.env.root() + QLatin1Char('/') + name;
        EXPECT_TRUE(image.save(path));
        return path;
    }

    static bool bold(const CLabel *line) { return line->fontDescription().bold(); }

    ScriptedUi ui;
    FakeViewHost host;
    CTodayView *view = nullptr;
};

TEST_F(TodayView, TasksLineCountsActiveEntriesInBoldAndNoneInNormalWeight)
{
    show(addHome(QStringLiteral("Lake house"), 0.0f));
    EXPECT_EQ(view->homeLine()->text(), QStringLiteral("Lake house"));
    EXPECT_TRUE(bold(view->homeLine()));
    EXPECT_EQ(view->tasksLine()->text(), QStringLiteral("Pick tasks and shopping items"));
    EXPECT_FALSE(bold(view->tasksLine()));

    addTask(CTask::GeneralTask, CTask::Active);
    addTask(CTask::GeneralTask, CTask::Done);
    view->UpdateLines();
    EXPECT_EQ(view->tasksLine()->text(), QStringLiteral("1 Active task"));
    EXPECT_TRUE(bold(view->tasksLine()));

    addTask(CTask::ShoppingItem, CTask::Active);
    addTask(CTask::ShoppingItem, CTask::Active);
    view->UpdateLines();
    EXPECT_EQ(view->tasksLine()->text(), QStringLiteral("3 Active tasks"));

    // With the Tasks view showing shopping items only, only those count.
    host.key.WriteNumber(QStringLiteral("TasksFilter"), TaskList::ShoppingOnly);
    view->UpdateLines();
    EXPECT_EQ(view->tasksLine()->text(), QStringLiteral("2 Active tasks"));
    host.key.WriteNumber(QStringLiteral("TasksFilter"), TaskList::GeneralOnly);
    view->UpdateLines();
    EXPECT_EQ(view->tasksLine()->text(), QStringLiteral("1 Active task"));

    // Back to none: normal weight again.
    run(QStringLiteral("UPDATE Tasks SET Status=0"));
    view->UpdateLines();
    EXPECT_EQ(view->tasksLine()->text(), QStringLiteral("Pick tasks and shopping items"));
    EXPECT_FALSE(bold(view->tasksLine()));
    // Every line is sized to its text: nothing cut off, not the 500 pixels it starts with.
    for (const CLabel *line :
         { view->homeLine(), view->tasksLine(), view->inventoryLine(), view->equityLine() }) {
        EXPECT_GE(line->width(), line->minimumSizeHint().width());
        EXPECT_GE(line->height(), line->minimumSizeHint().height());
        EXPECT_LT(line->width(), 400);
    }
}

TEST_F(TodayView, InventoryLineFollowsTheCategoryFilter)
{
    const qint32 home = addHome(QStringLiteral("Lake house"), 0.0f);
    const qint32 other = addHome(QStringLiteral("Cabin"), 0.0f);
    show(home);
    EXPECT_EQ(view->inventoryLine()->text(), QStringLiteral("Add an asset to the Home Inventory"));

    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, CurrentValue) VALUES "
                       "(1, %1, 7, 1200), (2, %1, 8, 300.5), (3, %2, 7, 99)")
            .arg(home)
            .arg(other));
    // Assets added behind a Home Inventory that has not been filled (another dialog's sheet):
    // the worth is the file's, not the one counted before.
    view->UpdateLines();
    EXPECT_EQ(view->inventoryLine()->text(), QStringLiteral("Home Inventory is worth $1,500.50"));
    host.key.WriteNumber(QStringLiteral("InventoryCategory"), 7);
    view->UpdateLines();
    EXPECT_EQ(view->inventoryLine()->text(), QStringLiteral("Home Inventory is worth $1,200.00"));
    host.key.WriteNumber(QStringLiteral("InventoryCategory"), 3);
    view->UpdateLines();
    EXPECT_EQ(view->inventoryLine()->text(), QStringLiteral("Add an asset to the Home Inventory"));
}

TEST_F(TodayView, ALargeInventoryShowsItsCentsAsTheAssetsHaveThem)
{
    const qint32 home = addHome(QStringLiteral("Estate"), 0.0f);
    // Beyond a float's 24 bits the cents of the sum would be lost (175,390,352.00).
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CurrentValue) VALUES "
                       "(1, %1, 175390000.04), (2, %1, 345.02)")
            .arg(home));
    show(home);
    EXPECT_EQ(view->inventoryLine()->text(),
              QStringLiteral("Home Inventory is worth $175,390,345.06"));
}

// A host whose Home Inventory and Tasks views have been filled.
class FilledViewsHost : public FakeViewHost
{
public:
    std::optional<double> filledInventoryTotal() const override { return total; }
    std::optional<int> filledActiveTaskCount() const override { return count; }
    std::optional<double> total;
    std::optional<int> count;
};

TEST(TodayViewFigures, FilledViewsGiveTheFiguresAndTheFileOnlyBefore)
{
    setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    FilledViewsHost host;
    CHome home;
    home.m_strDescription = QStringLiteral("Lake house");
    ASSERT_TRUE(home.Save(host.db));
    ASSERT_TRUE(host.SetCurrentHome(home.id()));
    ASSERT_TRUE(host.db.Execute(
        QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CurrentValue) VALUES (1, %1, 10)")
            .arg(home.id())));
    CTodayView view(host);
    view.ComputeEquity();
    view.UpdateLines();
    EXPECT_EQ(view.inventoryLine()->text(), QStringLiteral("Home Inventory is worth $10.00"));
    EXPECT_EQ(view.tasksLine()->text(), QStringLiteral("Pick tasks and shopping items"));

    host.total = 1234.5;
    host.count = 4;
    view.UpdateLines();
    EXPECT_EQ(view.inventoryLine()->text(), QStringLiteral("Home Inventory is worth $1,234.50"));
    EXPECT_EQ(view.tasksLine()->text(), QStringLiteral("4 Active tasks"));
    resetUserLocale();
}

TEST_F(TodayView, EquityLineShowsZeroAsAnInvitationAndANegativeEquityAsIs)
{
    const qint32 home = addHome(QStringLiteral("Lake house"), 0.0f);
    show(home);
    EXPECT_EQ(view->equityLine()->text(), QStringLiteral("Manage Mortgages and Home Equity"));

    run(QStringLiteral("UPDATE Homes SET CurrentValue=200000 WHERE HomeId=%1").arg(home));
    run(QStringLiteral("INSERT INTO Loans (LoanId, AssetId, AssetType, Principal) VALUES "
                       "(1, %1, 1, 180000), (2, %1, 1, 30000.25), (3, %1, 0, 5000)")
            .arg(home));
    show(home);
    EXPECT_FLOAT_EQ(view->equity(), -10000.25f);
    EXPECT_EQ(view->equityLine()->text(),
              QStringLiteral("Home Equity is ") + moneyText(-10000.25f));
    EXPECT_TRUE(view->equityLine()->text().contains(QStringLiteral("10,000.25")));
    // Not the positive amount: the money format's own negative form.
    EXPECT_NE(view->equityLine()->text(), QStringLiteral("Home Equity is ") + moneyText(10000.25f));

    // A loan added on the Home Profile's Loans page is saved at once, so the line follows it
    // even when the profile is then cancelled.
    ui.onNextDialog([&](QDialog &sheet) {
        ui.onNextDialog([&](QDialog &loan) {
            Fill::text(loan, "description", QStringLiteral("Boat"));
            Fill::text(loan, "principal", QStringLiteral("1000"));
            Fill::click(loan, "ok");
        });
        Fill::click(sheet, "newLoan");
        Fill::click(sheet, "cancel");
    });
    QTest::mouseClick(view->equityLine(), Qt::LeftButton);
    EXPECT_EQ(ui.pendingScripts(), 0);
    EXPECT_FLOAT_EQ(view->equity(), -11000.25f);
    EXPECT_EQ(view->equityLine()->text(),
              QStringLiteral("Home Equity is ") + moneyText(-11000.25f));
}

TEST_F(TodayView, PictureRectangleRules)
{
    const QSize client(640, 400);
    // Fits: centred, at its own size, 5 pixels from the top.
    EXPECT_EQ(CTodayView::PictureRect(QSize(320, 240), client), QRect(160, 5, 320, 240));
    // Odd leftover: integer division puts the extra pixel on the right.
    EXPECT_EQ(CTodayView::PictureRect(QSize(321, 10), client).left(), 159);
    // Wider than the view: 5 pixels in from either side.
    EXPECT_EQ(CTodayView::PictureRect(QSize(900, 100), client), QRect(5, 5, 630, 100));
    // Taller than the height less 115: ends 110 pixels above the bottom.
    EXPECT_EQ(CTodayView::PictureRect(QSize(100, 900), client), QRect(270, 5, 100, 285));
    // Exactly the height less 115 still fits at its own size.
    EXPECT_EQ(CTodayView::PictureRect(QSize(100, 285), client).height(), 285);
    EXPECT_EQ(CTodayView::PictureRect(QSize(100, 286), client).height(), 285);
}

TEST_F(TodayView, PictureFallsBackToTheDefaultAndNeverShowsAnotherHomes)
{
    const QString own = picture(QStringLiteral("own.png"), QSize(900, 100), Qt::red);
    const qint32 withPicture = addHome(QStringLiteral("Lake house"), 0.0f, own);
    const qint32 brokenPicture =
        addHome(QStringLiteral("Cabin"), 0.0f, host.env.root() + QStringLiteral("/gone.jpg"));
    const qint32 none = addHome(QStringLiteral("Flat"), 0.0f);
    host.window.show();
    view->show();

    show(withPicture);
    ASSERT_TRUE(view->hasPicture());
    EXPECT_EQ(view->pictureRect(), QRect(5, 5, 630, 100));

    // Neither its own picture nor the default loads: nothing, not the lake house.
    show(brokenPicture);
    EXPECT_FALSE(view->hasPicture());
    EXPECT_TRUE(view->pictureRect().isNull());

    view->setDefaultPicturePath(picture(QStringLiteral("default.png"), QSize(100, 900), Qt::blue));
    show(brokenPicture);
    ASSERT_TRUE(view->hasPicture());
    EXPECT_EQ(view->pictureRect(), QRect(270, 5, 100, 285));
    show(none);
    EXPECT_TRUE(view->hasPicture());

    // A new size places the picture again.
    view->resize(800, 600);
    EXPECT_EQ(view->pictureRect(), QRect(350, 5, 100, 485));
}

TEST_F(TodayView, LinesLeadWhereTheyShouldWithEmptyAndFilledData)
{
    const qint32 home = addHome(QStringLiteral("Lake house"), 0.0f);
    show(home);
    host.calls.clear();
    emit view->tasksLine()->clicked();
    emit view->inventoryLine()->clicked();
    EXPECT_EQ(host.calls, (QStringList { "NewTasks", "NewAsset" }));

    addTask(CTask::ShoppingItem, CTask::Active);
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CurrentValue) VALUES (1, %1, 5)")
            .arg(home));
    show(home);
    host.calls.clear();
    QTest::mouseClick(view->tasksLine(), Qt::LeftButton);
    // From the keyboard: Enter on a line follows it.
    view->inventoryLine()->setFocus();
    QTest::keyClick(view->inventoryLine(), Qt::Key_Return);
    EXPECT_EQ(host.calls, (QStringList { "ShowView 3", "ShowView 1" }));

    // A done task alone does not count: back to the pool dialog.
    run(QStringLiteral("UPDATE Tasks SET Status=2"));
    host.calls.clear();
    emit view->tasksLine()->clicked();
    EXPECT_EQ(host.calls, (QStringList { "NewTasks" }));
}

TEST_F(TodayView, TheWarrantyLineSpeaksOnlyWhenAWarrantyEndsOrEndedWithinAMonth)
{
    host.fixedToday = QDate(2026, 3, 15);
    const qint32 home = addHome(QStringLiteral("Lake house"), 0.0f);
    const qint32 other = addHome(QStringLiteral("Cabin"), 0.0f);
    const double today = COleDateTime::fromDate(host.fixedToday).days();
    // A video of this year, the "no warranty" date, one ending in 200 days, another home's.
    // (Where the 30 days end is the records' test, GroupsMeetAtTheirEdges.)
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, WarrantyExpiration) "
                       "VALUES (1, %1, 19, %3 + 3), (2, %1, 4, 36526), (3, %1, 4, %3 + 200), "
                       "(4, %2, 4, %3 + 2)")
            .arg(home)
            .arg(other)
            .arg(today));
    show(home);
    EXPECT_TRUE(view->warrantyLine()->isHidden());
    EXPECT_EQ(view->equityLine()->y(), 375); // the four lines where they always are
    EXPECT_EQ(view->inventoryLine()->y(), 350);

    // An edit brings the warranty within 30 days: the line appears under the inventory line,
    // the five lines sharing the band the four had.
    CAsset asset(3);
    ASSERT_TRUE(asset.Load(host.db));
    asset.m_dtWarrantyExpiration = COleDateTime(today + 12);
    ASSERT_TRUE(asset.Save(host.db));
    view->UpdateLines();
    EXPECT_FALSE(view->warrantyLine()->isHidden());
    EXPECT_EQ(view->warrantyLine()->text(), QStringLiteral("1 warranty ends within 30 days"));
    EXPECT_EQ(view->homeLine()->y(), 300);
    EXPECT_EQ(view->inventoryLine()->y(), 340);
    EXPECT_EQ(view->warrantyLine()->y(), 360);
    EXPECT_EQ(view->equityLine()->y(), 380);
    EXPECT_GE(view->warrantyLine()->width(), view->warrantyLine()->minimumSizeHint().width());

    asset.m_dtWarrantyExpiration = COleDateTime(today - 1);
    ASSERT_TRUE(asset.Save(host.db));
    run(QStringLiteral("UPDATE Assets SET WarrantyExpiration=%1 WHERE AssetId=2").arg(today));
    view->UpdateLines();
    EXPECT_EQ(view->warrantyLine()->text(),
              QStringLiteral("1 warranty ends within 30 days, 1 ended in the last 30 days"));

    // It is a link to the Warranties dialog, by mouse and by keyboard.
    host.calls.clear();
    QTest::mouseClick(view->warrantyLine(), Qt::LeftButton);
    view->warrantyLine()->setFocus();
    QTest::keyClick(view->warrantyLine(), Qt::Key_Return);
    EXPECT_EQ(host.calls, (QStringList { "ShowWarranties", "ShowWarranties" }));
    host.window.show();
    view->show();
    Screenshots::save(*view, QStringLiteral("today_warranties"));

    // Another home with nothing to say: gone, and the lines back in their places.
    show(other);
    EXPECT_EQ(view->warrantyLine()->text(), QStringLiteral("1 warranty ends within 30 days"));
    run(QStringLiteral("DELETE FROM Assets WHERE AssetId=4"));
    view->UpdateLines();
    EXPECT_TRUE(view->warrantyLine()->isHidden());
    EXPECT_EQ(view->equityLine()->y(), 375);
}

// Left open over midnight, the warranty line counts from the new day by itself; a view shown
// again after days (a machine woken from sleep) counts from the day it is shown.
TEST_F(TodayView, TheWarrantyLineFollowsTheDateWhileTheProgramStaysOpen)
{
    host.fixedNow = QDateTime(QDate(2026, 3, 15), QTime(23, 59, 59, 900));
    const qint32 home = addHome(QStringLiteral("Lake house"), 0.0f);
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, WarrantyExpiration) "
                       "VALUES (1, %1, 4, %2)")
            .arg(home)
            .arg(COleDateTime::fromDate(QDate(2026, 4, 15)).days()));
    host.window.show();
    view->show();
    show(home);
    EXPECT_TRUE(view->warrantyLine()->isHidden()); // 31 days left

    host.fixedNow = QDateTime(QDate(2026, 3, 16), QTime(0, 0, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->warrantyLine()->isHidden(); }, 5000));
    EXPECT_EQ(view->warrantyLine()->text(), QStringLiteral("1 warranty ends within 30 days"));
    EXPECT_EQ(view->warrantyLine()->y(), 360);

    view->hide();
    host.fixedNow = QDateTime(QDate(2026, 4, 20), QTime(9, 0));
    view->show();
    EXPECT_EQ(view->warrantyLine()->text(), QStringLiteral("1 warranty ended in the last 30 days"));
}

TEST_F(TodayView, Screenshots)
{
    QImage photo(480, 300, QImage::Format_RGB32);
    photo.fill(QColor(180, 200, 160));
    for (int y = 0; y < 300; y += 20)
        for (int x = (y / 20) % 2 * 20; x < 480; x += 40)
            for (int dy = 0; dy < 20; ++dy)
                for (int dx = 0; dx < 20; ++dx)
                    photo.setPixelColor(x + dx, y + dy, QColor(120, 150, 110));
    const QString own = host.env.root() + QStringLiteral("/own.png");
    ASSERT_TRUE(photo.save(own));
    const qint32 home = addHome(QStringLiteral("Lake house"), 250000.0f, own);
    run(QStringLiteral("INSERT INTO Loans (LoanId, AssetId, AssetType, Principal) VALUES "
                       "(1, %1, 1, 180000)")
            .arg(home));
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CurrentValue) VALUES (1, %1, 4321)")
            .arg(home));
    addTask(CTask::GeneralTask, CTask::Active);
    host.window.show();
    view->show();
    show(home);
    Screenshots::save(*view, QStringLiteral("today_picture"));

    // The picture shipped beside the program, for a home without one.
    view->setDefaultPicturePath(QStringLiteral(DOMELIO_SOURCE_DIR "/views/default.jpg"));
    show(addHome(QStringLiteral("Cabin"), 0.0f));
    EXPECT_TRUE(view->hasPicture());
    EXPECT_EQ(view->pictureRect().size(), QSize(320, 240));
    Screenshots::save(*view, QStringLiteral("today_default"));
}

} // namespace
