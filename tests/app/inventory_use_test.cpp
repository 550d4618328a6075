// The Home Inventory in use through the whole program: new assets and titles from the frame's
// commands, the category filter, deleting, and searching titles, checked row by row with SQL.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "frame_fixture.h"
#include "platform/ole_date.h"
#include "records/area.h"
#include "records/home_figures.h"
#include "records/video_titles.h"
#include "sheets/recommend_movie_dialog.h"
#include "sheets/warranties_dialog.h"
#include "support/screenshots.h"
#include "views/inventory_view.h"
#include "views/today_view.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class InventoryUse : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Town house") }, { 2, QStringLiteral("Cabin") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
    }

    CMainFrame &started()
    {
        CMainFrame &frame = run.start();
        frame.show();
        return frame;
    }

    CInventoryView &inventory() { return *run.frame().inventoryView(); }

    QStringList rows()
    {
        QStringList texts;
        CAutoListCtrl &list = *inventory().list();
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts << list.GetItemText(row, 0);
        return texts;
    }

    QStringList column(const QString &sql)
    {
        CADORecordset rs(run.app->database());
        EXPECT_TRUE(rs.Open(sql)) << sql.toStdString();
        QStringList values;
        for (; !rs.IsEof(); rs.MoveNext()) {
            QStringList cells;
            for (int i = 0; i < rs.GetFieldCount(); ++i) {
                QString cell;
                rs.GetString(i, cell);
                cells << cell;
            }
            values << cells.join(QLatin1Char('|'));
        }
        return values;
    }

    // File > New > Asset with the given entries; the category and location by their names.
    void newAsset(const QString &name, const QString &category, const QString &location,
                  const QString &value, const QString &picture = QString())
    {
        run.ui.onNextDialog([=](QDialog &sheet) {
            Fill::text(sheet, "description", name);
            if (!category.isEmpty()) {
                EXPECT_TRUE(Fill::text(sheet, "category", category)) << category.toStdString();
            }
            if (!location.isEmpty()) {
                EXPECT_TRUE(Fill::text(sheet, "location", location)) << location.toStdString();
            }
            Fill::text(sheet, "currentValue", value);
            if (!picture.isEmpty()) {
                sheet.findChild<QTabWidget *>("pages")->setCurrentIndex(3);
                Fill::text(sheet, "picturePath", picture);
            }
            Fill::click(sheet, "ok");
        });
        run.frame().action(Command::NewAsset)->trigger();
    }

    void newTitle(const QString &title, const QString &genre, const QString &year)
    {
        run.ui.onNextDialog([=](QDialog &sheet) {
            Fill::text(sheet, "description", title);
            sheet.findChild<QTabWidget *>("pages")->setCurrentIndex(1);
            Fill::text(sheet, "genre", genre);
            Fill::text(sheet, "releaseYear", year);
            Fill::click(sheet, "ok");
        });
        run.frame().action(Command::NewVideo)->trigger();
    }

    void chooseCategory(const QString &entry)
    {
        inventory().ShowCategoryMenu();
        for (QAction *action : inventory().categoryMenu()->actions()) {
            if (action->text() == entry) {
                action->trigger();
                inventory().categoryMenu()->hide();
                return;
            }
        }
        ADD_FAILURE() << "no menu entry " << entry.toStdString();
    }

    ProgramRun run;
};

TEST_F(InventoryUse, NewAssetShowsTheInventoryWithTheNewAssetSelected)
{
    CMainFrame &frame = started();
    ASSERT_EQ(frame.currentViewIndex(), CMainFrame::TodayIndex);
    newAsset(QStringLiteral("Piano"), QStringLiteral("Musical Instruments"), QString(),
             QStringLiteral("2500"));
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::InventoryIndex);
    EXPECT_EQ(rows(), QStringList { QStringLiteral("Piano") });
    EXPECT_EQ(inventory().list()->GetCurSel(), 0);
    EXPECT_EQ(inventory().inventoryTotal(), 2500.0);
    EXPECT_TRUE(inventory().descriptionBox()->toPlainText().startsWith("Current value: "));

    // Cancelled: nothing stored, the view stays as it is.
    run.ui.onNextDialog([](QDialog &sheet) { Fill::click(sheet, "cancel"); });
    frame.action(Command::NewAsset)->trigger();
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Assets;")), QStringList { "1" });

    // The last listed asset deleted: an empty list, and the Today line invites a new asset.
    EXPECT_NE(frame.todayView()->inventoryLine()->text(),
              QStringLiteral("Add an asset to the Home Inventory"));
    run.ui.answer(Ui::Yes);
    QTest::keyClick(inventory().list(), Qt::Key_Delete);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Assets;")), QStringList { "0" });
    frame.action(Command::TodayView)->trigger();
    EXPECT_EQ(frame.todayView()->inventoryLine()->text(),
              QStringLiteral("Add an asset to the Home Inventory"));
}

TEST_F(InventoryUse, TheVideoExplanationIsShownOncePerUserAcrossRuns)
{
    const QString tip = Strings::load(Strings::VideoTip);
    started();
    run.frame().action(Command::NewVideo)->trigger(); // the sheet is cancelled
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.messages()[0].text, tip);
    EXPECT_EQ(run.ui.messages()[0].caption, QStringLiteral("Domelio"));
    EXPECT_EQ(run.ui.messages()[0].icon, Ui::Icon::Information);
    EXPECT_EQ(run.ui.dialogTitles(), QStringList { QStringLiteral("Asset Properties") });
    run.frame().action(Command::NewVideo)->trigger();
    EXPECT_EQ(run.ui.messages().size(), 1u);

    started(); // the next run
    run.frame().action(Command::NewVideo)->trigger();
    EXPECT_EQ(run.ui.messages().size(), 1u);

    // Without the setting it is explained again, once.
    ASSERT_TRUE(run.app->settings().DeleteValue(QStringLiteral("MsgSpecialAssetVideos")));
    run.frame().action(Command::NewVideo)->trigger();
    run.frame().action(Command::NewVideo)->trigger();
    EXPECT_EQ(run.ui.messages().size(), 2u);
    EXPECT_EQ(run.ui.messages()[1].text, tip);
}

TEST_F(InventoryUse, TheVideoExplanationAsThePersonSeesIt)
{
    started();
    // The real message box and sheet this time, answered by a timer: the box is photographed
    // and confirmed, the sheet that follows is cancelled.
    Ui::install(nullptr);
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            shown = box->text();
            Screenshots::save(*box, QStringLiteral("new_video_explanation"));
            box->accept();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialog->reject();
        }
    });
    answer.start(50);
    run.frame().action(Command::NewVideo)->trigger();
    answer.stop();
    Ui::install(&run.ui);
    EXPECT_EQ(shown, Strings::load(Strings::VideoTip));
    qint32 flag = 0;
    EXPECT_TRUE(run.app->settings().ReadNumber(QStringLiteral("MsgSpecialAssetVideos"), flag));
    EXPECT_EQ(flag, 1);
}

TEST_F(InventoryUse, StartingWithAFilterReadsNoAssetUntilTheViewIsShown)
{
    {
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        CTransaction transaction(db);
        for (int i = 1; i <= 3000; ++i) {
            ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, "
                                                  "CategoryId, Description, CurrentValue) "
                                                  "VALUES (%1, 1, %2, 'Item %1', 1.5);")
                                       .arg(i)
                                       .arg(i % 2 ? 8 : 7)));
        }
        ASSERT_TRUE(transaction.commit());
    }
    run.writeSetting(QStringLiteral("InventoryCategory"), 8);
    CMainFrame &frame = started();
    EXPECT_EQ(inventory().list()->GetItemCount(), 0);
    EXPECT_EQ(inventory().title()->text(), QStringLiteral("Home Inventory (All)"));

    frame.action(Command::InventoryView)->trigger();
    EXPECT_EQ(inventory().title()->text(), QStringLiteral("Home Inventory (Furniture)"));
    EXPECT_EQ(inventory().list()->GetItemCount(), 1500);
    EXPECT_EQ(inventory().inventoryTotal(), 2250.0);

    // A home switch while the view is hidden waits again; the filter stays, the search words
    // do not.
    QTest::keyClicks(inventory().searchBox(), QStringLiteral("item 2999"));
    EXPECT_EQ(inventory().list()->GetItemCount(), 1);
    frame.action(Command::SelectHome)->trigger();
    ASSERT_TRUE(frame.SetCurrentHome(2));
    EXPECT_TRUE(inventory().searchBox()->text().isEmpty());
    frame.action(Command::InventoryView)->trigger();
    EXPECT_EQ(inventory().list()->GetItemCount(), 0);
    EXPECT_EQ(inventory().title()->text(), QStringLiteral("Home Inventory (Furniture)"));
}

TEST_F(InventoryUse, WarrantiesOnTodayFollowEditsMadeWhileTheInventoryIsSearched)
{
    const QDate today = QDate::currentDate();
    const long day = long(COleDateTime::fromDate(today).days());
    {
        // A file from before the warranty index.
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        ASSERT_TRUE(db.Execute(QStringLiteral("DROP INDEX AssetsWarrantyByHome;")));
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, "
                                              "CurrentValue, WarrantyExpiration) VALUES "
                                              "(1, 1, 'Dishwasher', 400, %1), "
                                              "(2, 1, 'Drill', 80, %2);")
                                   .arg(day + 10)
                                   .arg(day + 200)));
    }
    const auto indexed = [this] {
        return column(QStringLiteral("SELECT name FROM sqlite_master WHERE "
                                     "name='AssetsWarrantyByHome';"))
            .size();
    };
    CMainFrame &frame = started();
    EXPECT_EQ(indexed(), 1);
    CTodayView &todayView = *frame.todayView();
    EXPECT_EQ(todayView.warrantyLine()->text(), QStringLiteral("1 warranty ends within 30 days"));
    EXPECT_FALSE(todayView.warrantyLine()->isHidden());

    // Edits made while a search narrows the list. (That it leaves the worth alone is the view's
    // test.)
    frame.action(Command::InventoryView)->trigger();
    QTest::keyClicks(inventory().searchBox(), QStringLiteral("dri"));
    EXPECT_EQ(rows(), QStringList { QStringLiteral("Drill") });

    // Tools > Warranties: a later date for the dishwasher, and the Today line has nothing left
    // to say; the inventory's description follows too.
    inventory().list()->SetCurSel(0);
    ASSERT_TRUE(frame.isCommandEnabled(Command::Warranties));
    run.ui.onNextDialog([](QDialog &dialog) {
        auto &warranties = static_cast<Warranties::Dialog &>(dialog);
        EXPECT_EQ(warranties.list()->GetItemText(warranties.list()->GetCurSel(), 0),
                  QStringLiteral("Dishwasher"));
        warranties.editSelected();
    });
    run.ui.onNextDialog([&](QDialog &sheet) {
        sheet.findChild<QDateEdit *>("warranty")->setDate(today.addDays(60));
        Fill::click(sheet, "ok");
    });
    frame.action(Command::Warranties)->trigger();
    EXPECT_EQ(run.ui.pendingScripts(), 0);
    EXPECT_TRUE(todayView.warrantyLine()->isHidden());
    EXPECT_EQ(rows(), QStringList { QStringLiteral("Drill") });

    // A restored file from before the index gets it back; the search box starts empty.
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral("DROP INDEX AssetsWarrantyByHome;")));
    frame.ReloadAfterDataReplacement();
    EXPECT_EQ(indexed(), 1);
    EXPECT_TRUE(inventory().searchBox()->text().isEmpty());
    EXPECT_FALSE(frame.isCommandEnabled(Command::Warranties));
}

// Another program holds the data file locked past the wait: the user is told, once for the list
// and once for the search, never shown an empty inventory or a worth of nothing; everything
// reads again once the file is free.
TEST_F(InventoryUse, AnInventoryThatCannotBeReadIsSaidSoAndReadAgainLater)
{
    {
        CADODataBase db;
        ASSERT_TRUE(db.Open(run.env.dataFile()));
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, "
                                              "CurrentValue) VALUES (1, 1, 'Dishwasher', 400), "
                                              "(2, 1, 'Drill', 80);")));
    }
    CMainFrame &frame = started();
    CTodayView &todayView = *frame.todayView();
    const auto worth = [](double total) {
        return QStringLiteral("Home Inventory is worth ") + moneyText(total);
    };
    EXPECT_EQ(todayView.inventoryLine()->text(), worth(480));
    frame.action(Command::InventoryView)->trigger();
    ASSERT_EQ(rows(), (QStringList { "Dishwasher", "Drill" }));

    // The other program adds an asset, then keeps the file to itself; the program's wait for
    // it is shortened so that the test need not sit through it.
    CADODataBase other;
    ASSERT_TRUE(other.Open(run.env.dataFile()));
    ASSERT_TRUE(other.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, "
                                             "CurrentValue) VALUES (3, 1, 'Lamp', 20);")));
    ASSERT_TRUE(other.Execute(QStringLiteral("BEGIN EXCLUSIVE;")));
    sqlite3_busy_timeout(run.app->database().handle(), 20);
    const auto locked = [](const ScriptedUi::Message &m, const char *what) {
        EXPECT_TRUE(m.text.startsWith(QLatin1String(what)
                                      + QLatin1String(" could not be read from the data file: "
                                                      "database is locked.")))
            << m.text.toStdString();
        EXPECT_EQ(m.icon, Ui::Icon::Warning);
    };

    // The search cannot read the texts: said once, the list left whole rather than "0 of 2";
    // the next keystroke after the file is free reads them.
    QTest::keyClicks(inventory().searchBox(), QStringLiteral("dri"));
    ASSERT_EQ(run.ui.messages().size(), 1u);
    locked(run.ui.messages()[0], "The inventory's texts");
    EXPECT_EQ(rows(), (QStringList { "Dishwasher", "Drill" }));
    EXPECT_TRUE(inventory().matchLine()->text().startsWith("The inventory could not be searched"));
    ASSERT_TRUE(other.Execute(QStringLiteral("COMMIT;")));
    QTest::keyClick(inventory().searchBox(), Qt::Key_L);
    EXPECT_EQ(rows(), (QStringList { "Drill" }));
    EXPECT_EQ(inventory().matchLine()->text(), QStringLiteral("1 of 2 assets"));

    // The list cannot be read: said so; the Today line has no figure to show and shows none.
    ASSERT_TRUE(other.Execute(QStringLiteral("BEGIN EXCLUSIVE;")));
    inventory().Refresh(0);
    ASSERT_EQ(run.ui.messages().size(), 2u);
    locked(run.ui.messages()[1], "The inventory");
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(todayView.inventoryLine()->text(),
              QStringLiteral("The Home Inventory could not be read"));

    // The file is free again: the inventory is read when it is next shown, and the worth is
    // the file's.
    ASSERT_TRUE(other.Execute(QStringLiteral("COMMIT;")));
    frame.action(Command::TodayView)->trigger();
    frame.action(Command::InventoryView)->trigger();
    EXPECT_EQ(rows(), (QStringList { "Drill" }));
    EXPECT_EQ(inventory().matchLine()->text(), QStringLiteral("1 of 3 assets"));
    EXPECT_EQ(todayView.inventoryLine()->text(), worth(500));
    EXPECT_EQ(run.ui.messages().size(), 2u);
}

TEST_F(InventoryUse, AStretchOfRealUse)
{
    // A new home of our own, with three locations.
    run.writeSetting(QStringLiteral("LastHomeId"), 0);
    CMainFrame &frame = started();
    run.ui.onNextDialog([](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Lake house"));
        Fill::click(sheet, "ok");
    });
    frame.action(Command::NewHome)->trigger();
    const qint32 home = frame.currentHomeId();
    ASSERT_GT(home, 2);
    for (const char *name : { "Kitchen", "Den", "Boathouse" }) {
        run.ui.onNextDialog([&](QDialog &sheet) {
            Fill::text(sheet, "description", QString::fromLatin1(name));
            Fill::click(sheet, "ok");
        });
        frame.action(Command::NewLocation)->trigger();
    }
    ASSERT_EQ(column(QStringLiteral("SELECT Description FROM Areas WHERE HomeId=%1 ORDER BY "
                                    "AreaId;")
                         .arg(home)),
              (QStringList { "Kitchen", "Den", "Boathouse" }));
    const qint32 boathouse =
        column(QStringLiteral("SELECT AreaId FROM Areas WHERE Description='Boathouse';"))
            .value(0)
            .toInt();

    // Eight assets in three categories, two with pictures (one of them since moved away).
    const QString photo = run.env.root() + QStringLiteral("/kettle.png");
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(photo));
    const QString moved = run.env.root() + QStringLiteral("/moved/canoe.jpg");
    newAsset("Kettle", "Appliances", "Kitchen", "25.10", photo);
    newAsset("Toaster", "Appliances", "Kitchen", "30.20");
    newAsset("Fridge", "Appliances", "Kitchen", "899.99");
    newAsset("Armchair", "Furniture", "Den", "120");
    newAsset("Bookcase", "Furniture", "Den", "75.50");
    newAsset("Canoe", "Sports Equipment", "Boathouse", "450", moved);
    newAsset("Paddles", "Sports Equipment", "Boathouse", "40");
    newAsset("Life jackets", "Sports Equipment", "Boathouse", "60.05");
    EXPECT_TRUE(run.ui.messages().empty());

    // Three titles; the first New Video/DVD explains itself.
    newTitle("Jaws", "Suspense", "1975");
    newTitle("On Golden Pond", "Drama", "1981");
    newTitle("The River Wild", "Suspense", "1994");
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(frame.currentViewIndex(), CMainFrame::InventoryIndex);
    EXPECT_EQ(rows().size(), 11);
    EXPECT_EQ(inventory().list()->GetItemText(inventory().list()->GetCurSel(), 0),
              QStringLiteral("The River Wild"));

    // Every row as stored.
    EXPECT_EQ(
        column(QStringLiteral(
                   "SELECT a.Description, c.Description, IFNULL(l.Description, ''), "
                   "printf('%.2f', a.CurrentValue), IFNULL(a.Picture2, '') FROM Assets a LEFT "
                   "JOIN Categories c ON a.CategoryId=c.CategoryId LEFT JOIN Areas l ON "
                   "a.AreaId=l.AreaId WHERE a.HomeId=%1 AND a.CategoryId<>19 ORDER BY "
                   "a.AssetId;")
                   .arg(home)),
        (QStringList { "Kettle|Appliances|Kitchen|25.10|" + photo,
                       "Toaster|Appliances|Kitchen|30.20|", "Fridge|Appliances|Kitchen|899.99|",
                       "Armchair|Furniture|Den|120.00|", "Bookcase|Furniture|Den|75.50|",
                       "Canoe|Sports Equipment|Boathouse|450.00|" + moved,
                       "Paddles|Sports Equipment|Boathouse|40.00|",
                       "Life jackets|Sports Equipment|Boathouse|60.05|" }));
    QStringList years;
    for (const VideoTitles::Title &title : VideoTitles::search(run.app->database(), QString()))
        years << title.title + QLatin1Char(' ') + QString::number(title.year);
    EXPECT_EQ(years, (QStringList { "Jaws 1975", "On Golden Pond 1981", "The River Wild 1994" }));
    EXPECT_EQ(column(QStringLiteral("SELECT Description, MakeModel, AreaId, IFNULL(Picture2, "
                                    "'') FROM Assets WHERE HomeId=%1 AND CategoryId=19 ORDER "
                                    "BY AssetId;")
                         .arg(home)),
              (QStringList { "Jaws|Suspense|0|", "On Golden Pond|Drama|0|",
                             "The River Wild|Suspense|0|" }));
    // The images: picture, no picture, title.
    const int kettle = rows().indexOf(QStringLiteral("Kettle"));
    EXPECT_EQ(inventory().list()->GetItemImage(kettle), 1);
    EXPECT_EQ(inventory().list()->GetItemImage(rows().indexOf(QStringLiteral("Fridge"))), 0);
    EXPECT_EQ(inventory().list()->GetItemImage(rows().indexOf(QStringLiteral("Jaws"))), 2);

    // Filter: Sports Equipment.
    inventory().ShowCategoryMenu();
    QStringList entries;
    for (QAction *action : inventory().categoryMenu()->actions())
        entries << action->text();
    inventory().categoryMenu()->hide();
    EXPECT_EQ(entries,
              (QStringList { "&All Categories", "", "Appliances (3)", "Furniture (2)",
                             "Sports Equipment (3)", "Videos (3)" }));
    frame.resize(700, 560);
    inventory().list()->SetCurSel(rows().indexOf(QStringLiteral("Kettle")));
    QApplication::processEvents();
    Screenshots::save(frame, QStringLiteral("inventory_in_frame"));
    chooseCategory(QStringLiteral("Sports Equipment (3)"));
    EXPECT_EQ(rows(), (QStringList { "Canoe", "Life jackets", "Paddles" }));
    // Amounts typed into the sheet are stored as the record holds them (single precision):
    // within a cent of what was typed, and the Today view's figure is the very same sum.
    EXPECT_NEAR(inventory().inventoryTotal(), 550.05, 1e-4);
    EXPECT_NEAR(inventory().inventoryTotal(),
                HomeFigures::inventoryTotal(run.app->database(), home, 16), 1e-9);

    // The boathouse goes; its assets stay, without a location.
    ASSERT_TRUE(CArea(boathouse).Delete(run.app->database()));
    inventory().Refresh(0);
    EXPECT_EQ(rows().size(), 3);

    // Delete Paddles with the Delete key.
    inventory().list()->SetCurSel(rows().indexOf(QStringLiteral("Paddles")));
    run.ui.answer(Ui::Yes);
    QTest::keyClick(inventory().list(), Qt::Key_Delete);
    EXPECT_EQ(rows(), (QStringList { "Canoe", "Life jackets" }));
    EXPECT_NEAR(inventory().inventoryTotal(), 510.05, 1e-4);
    // The Today view shows the very total the inventory holds, and the same one it counts by
    // itself before the inventory was ever filled (the next run, below).
    const QString worth = QStringLiteral("Home Inventory is worth ")
        + moneyText(float(HomeFigures::inventoryTotal(run.app->database(), home, 16)));
    EXPECT_EQ(frame.todayView()->inventoryLine()->text(), worth);
    EXPECT_EQ(column(QStringLiteral("SELECT Description, AreaId FROM Assets WHERE HomeId=%1 AND "
                                    "CategoryId=16 ORDER BY Description;")
                         .arg(home)),
              (QStringList { "Canoe|0", "Life jackets|0" }));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Assets WHERE HomeId=%1;").arg(home)),
              QStringList { "10" });

    // Search the titles from Tools > Recommend Movie.
    run.ui.onNextDialog([&](QDialog &dialog) {
        auto &movies = static_cast<CDlgRecommendMovie &>(dialog);
        Fill::text(dialog, "genre", QStringLiteral("Suspense"));
        Fill::click(dialog, "search");
        ASSERT_EQ(movies.list()->GetItemCount(), 2);
        EXPECT_EQ(movies.list()->GetItemText(0, 1), QStringLiteral("Jaws"));
        EXPECT_EQ(movies.list()->GetItemText(0, 0), QStringLiteral("1975"));
        EXPECT_EQ(movies.list()->GetItemText(1, 1), QStringLiteral("The River Wild"));
        Fill::click(dialog, "close");
    });
    frame.action(Command::RecommendMovie)->trigger();
    EXPECT_EQ(run.ui.messages().back().text, QStringLiteral("2 title(s) were found!"));

    // All categories again, after a restart: the filter was kept.
    started();
    EXPECT_EQ(run.frame().todayView()->inventoryLine()->text(), worth);
    run.frame().action(Command::InventoryView)->trigger();
    EXPECT_EQ(rows(), (QStringList { "Canoe", "Life jackets" }));
    chooseCategory(QStringLiteral("&All Categories"));
    EXPECT_EQ(rows().size(), 10);
}

} // namespace
