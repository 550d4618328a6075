// A stretch of real use, through the whole program: a home with two loans, four coloured
// locations, an asset filed under two new categories (one renamed), a location deleted; then
// every row the work left in the data file is read back with SQL.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "format/display_text.h"
#include "frame_fixture.h"
#include "views/rooms_view.h"

#include <QAction>
#include <QApplication>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Room
{
    QString name;
    int feet[3];
    quint32 color; // 0x00BBGGRR
    QString label;
};

class RecordsStretch : public ::testing::Test
{
protected:
    static QTabWidget &tabs(QDialog &sheet) { return *sheet.findChild<QTabWidget *>("pages"); }

    QStringList column(const QString &sql)
    {
        CADORecordset rs(run.app->database());
        EXPECT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
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

    void loanScript(const QString &name, const QString &principal, const QString &term, int unit,
                    const QString &lender, bool equity)
    {
        run.ui.onNextDialog([=](QDialog &sheet) {
            Fill::text(sheet, "description", name);
            Fill::text(sheet, "principal", principal);
            Fill::text(sheet, "interestRate", QStringLiteral("5.5"));
            Fill::text(sheet, "term", term);
            Fill::comboIndex(sheet, "termUnit", unit);
            tabs(sheet).setCurrentIndex(1);
            Fill::text(sheet, "lenderName", lender);
            Fill::text(sheet, "lenderAcctNo", QStringLiteral("AC-1"));
            Fill::check(sheet, "affectsEquity", equity);
            Fill::click(sheet, "ok");
        });
    }

    void newLocation(const Room &room)
    {
        run.ui.onNextDialog([this, room](QDialog &sheet) {
            Fill::text(sheet, "description", room.name);
            Fill::text(sheet, "lengthFeet", QString::number(room.feet[0]));
            Fill::text(sheet, "widthFeet", QString::number(room.feet[1]));
            Fill::text(sheet, "heightFeet", QString::number(room.feet[2]));
            tabs(sheet).setCurrentIndex(1);
            run.ui.onNextDialog([room](QDialog &picker) {
                picker.findChild<QSlider *>("red")->setValue(int(room.color & 0xff));
                picker.findChild<QSlider *>("green")->setValue(int((room.color >> 8) & 0xff));
                picker.findChild<QSlider *>("blue")->setValue(int((room.color >> 16) & 0xff));
                Fill::text(picker, "description", room.label);
                Fill::click(picker, "ok");
            });
            // The swatch answers the keyboard as a button does.
            auto *swatch = sheet.findChild<CLabel *>("swatch2");
            swatch->setFocus();
            QTest::keyClick(swatch, Qt::Key_Space);
            Fill::click(sheet, "ok");
        });
        frame->action(Command::NewLocation)->trigger();
    }

    ProgramRun run;
    CMainFrame *frame = nullptr;
};

TEST_F(RecordsStretch, AHomeWithLoansLocationsAndCategoriesEndsAsRowsInTheFile)
{
    run.seedHomes({ { 1, QStringLiteral("Maple House") } });
    run.writeSetting(QStringLiteral("LastHomeId"), 1);
    frame = &run.start();
    frame->resize(700, 520);
    frame->show();
    ASSERT_EQ(frame->currentHomeId(), 1);
    const int categoriesBefore =
        column(QStringLiteral("SELECT COUNT(*) FROM Categories;")).value(0).toInt();
    const int firstNewCategory =
        column(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='Categories';"))
            .value(0)
            .toInt();

    // Loan Manager: the Home Profile at its Loans page; two loans, then OK.
    run.ui.onNextDialog([this](QDialog &sheet) {
        EXPECT_EQ(tabs(sheet).tabText(tabs(sheet).currentIndex()), QStringLiteral("Loans"));
        loanScript(QStringLiteral("Mortgage"), QStringLiteral("250000"), QStringLiteral("30"), 1,
                   QStringLiteral("First Bank; \"Main St\""), true);
        Fill::click(sheet, "newLoan");
        loanScript(QStringLiteral("Car loan"), QStringLiteral("18000.50"), QStringLiteral("60"), 0,
                   QString(), false);
        Fill::click(sheet, "newLoan");
        EXPECT_EQ(Fill::textOf(sheet, "totalLiability"), moneyText(250000.0f));
        Fill::click(sheet, "ok");
    });
    frame->action(Command::LoanManager)->trigger();

    // Four locations, each with its second colour chosen.
    const Room rooms[] = {
        { QStringLiteral("Kitchen"), { 12, 10, 8 }, 0x00302010, QStringLiteral("Tiles") },
        { QStringLiteral("Garage"), { 20, 18, 9 }, 0x000000FF, QStringLiteral("Door") },
        { QStringLiteral("Den"), { 14, 12, 0 }, 0x0000FF00, QStringLiteral("Rug") },
        { QStringLiteral("Attic"), { 30, 20, 6 }, 0x00FFFFFF, QStringLiteral("Beams") },
    };
    for (const Room &room : rooms)
        newLocation(room);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::LocationsIndex);
    CAutoListCtrl *list = frame->locationsView()->list();
    ASSERT_EQ(list->GetItemCount(), 4);
    EXPECT_EQ(list->GetItemText(list->GetCurSel(), 0), QStringLiteral("Attic"));

    // An asset in the garage, filed under a new category; a second one is renamed.
    run.ui.onNextDialog([this](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Lawn mower"));
        Fill::text(sheet, "location", QStringLiteral("Garage"));
        run.ui.onNextDialog([this](QDialog &categories) {
            run.ui.onNextDialog([](QDialog &name) {
                Fill::text(name, "name", QStringLiteral("Heirlooms"));
                Fill::click(name, "ok");
            });
            Fill::click(categories, "new");
            run.ui.onNextDialog([](QDialog &name) {
                Fill::text(name, "name", QStringLiteral("Family Heirlooms"));
                Fill::click(name, "ok");
            });
            Fill::click(categories, "rename");
            run.ui.onNextDialog([](QDialog &name) {
                Fill::text(name, "name", QStringLiteral("Garden Tools"));
                Fill::click(name, "ok");
            });
            Fill::click(categories, "new");
            Fill::click(categories, "ok");
        });
        Fill::click(sheet, "categories");
        EXPECT_EQ(Fill::textOf(sheet, "category"), QStringLiteral("Garden Tools"));
        Fill::text(sheet, "currentValue", QStringLiteral("350"));
        Fill::click(sheet, "ok");
    });
    frame->action(Command::NewAsset)->trigger();
    EXPECT_EQ(run.ui.pendingScripts(), 0);

    // The garage goes; the mower stays, without a location.
    frame->action(Command::LocationsView)->trigger();
    list = frame->locationsView()->list();
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (list->GetItemText(row, 0) == QStringLiteral("Garage"))
            list->SetCurSel(row);
    }
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->GetItemCount(), 3);
    EXPECT_TRUE(run.ui.messages().empty()) << run.ui.messageTexts().join('\n').toStdString();

    // Every row, as SQL sees it.
    EXPECT_EQ(column(QStringLiteral("SELECT HomeId, Description FROM Homes;")),
              QStringList { QStringLiteral("1|Maple House") });
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT Description, AssetId, AssetType, printf('%.2f', Principal), "
                  "printf('%.2f', InterestRate), TermInMonths, LenderName, LenderAcctNo, "
                  "LenderPhone, Notes FROM Loans ORDER BY LoanId;")),
              (QStringList { QStringLiteral("Mortgage|1|1|250000.00|5.50|360|First Bank; \"Main "
                                            "St\"|AC-1||"),
                             QStringLiteral("Car loan|1|0|18000.50|5.50|60||AC-1||") }));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Loans WHERE LenderPhone IS NULL AND "
                                    "Notes IS NULL AND StartDate IS NOT NULL;")),
              QStringList { QStringLiteral("2") });
    EXPECT_EQ(
        column(QStringLiteral("SELECT HomeId, Description, Length, Width, Height, Color1, "
                              "Color2, Color3, Label1, Label2, Label3, Notes FROM Areas "
                              "ORDER BY Description;")),
        (QStringList { QStringLiteral("1|Attic|360|240|72|16777215|16777215|16777215|Walls|Beams|"
                                      "Panels|"),
                       QStringLiteral("1|Den|168|144|0|16777215|65280|16777215|Walls|Rug|Panels|"),
                       QStringLiteral("1|Kitchen|144|120|96|16777215|3153936|16777215|Walls|Tiles|"
                                      "Panels|") }));
    EXPECT_EQ(
        column(QStringLiteral("SELECT Description, CategoryType FROM Categories WHERE "
                              "CategoryId >= %1 ORDER BY CategoryId;")
                   .arg(firstNewCategory)),
        (QStringList { QStringLiteral("Family Heirlooms|1"), QStringLiteral("Garden Tools|1") }));
    EXPECT_EQ(column(QStringLiteral("SELECT a.HomeId, a.AreaId, c.Description, "
                                    "printf('%.2f', a.CurrentValue) "
                                    "FROM Assets a JOIN Categories c ON "
                                    "a.CategoryId=c.CategoryId;")),
              QStringList { QStringLiteral("1|0|Garden Tools|350.00") });
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Categories;")),
              QStringList { QString::number(categoriesBefore + 2) });
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Assets;")),
              QStringList { QStringLiteral("1") });
}

} // namespace
