// The Warranties dialog: its groups and rows from a real data file, and the asset sheet it opens.
#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "format/display_text.h"
#include "platform/ole_date.h"
#include "sheets/warranties_dialog.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WarrantiesDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(db.Open(env.dataFile()));
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake & Sons');"));
        run(QStringLiteral("INSERT INTO Areas (AreaId, HomeId, Description) VALUES "
                           "(7, 1, 'Kitchen');"));
    }
    void TearDown() override { resetUserLocale(); }

    void run(const QString &sql) { ASSERT_TRUE(db.Execute(sql)) << sql.toStdString(); }
    void add(qint32 id, const char *description, int daysLeft, qint32 category = 4)
    {
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, AreaId, CategoryId, Description, "
                           "WarrantyExpiration) VALUES (%1, 1, 7, %2, '%3', %4);")
                .arg(id)
                .arg(category)
                .arg(QString::fromLatin1(description))
                .arg(day + daysLeft));
    }
    static QStringList rows(const Warranties::Dialog &dialog)
    {
        QStringList texts;
        const CAutoListCtrl &list = *dialog.list();
        for (int row = 0; row < list.GetItemCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < list.GetColumnCount(); ++col)
                cells << list.GetItemText(row, col);
            texts << cells.join(QLatin1Char('|'));
        }
        return texts;
    }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
    const QDate today { 2026, 3, 15 };
    const long day = long(COleDateTime::fromDate(today).days());
};

// Where each group ends is the records' test (GroupsMeetAtTheirEdges); here, what the dialog
// makes of the groups: headings a person and a screen reader take for headings, rows in date
// order that the column headings do not re-sort, and the sheet behind each row.
TEST_F(WarrantiesDialog, ThreeGroupsByDateAndTheSheetBehindEachRow)
{
    add(1, "Kettle", 400);
    add(2, "Drill", 100);
    add(4, "Fridge", 12);
    add(5, "Stereo", 0);
    add(6, "Toaster", -1);
    add(7, "Lamp", -40);
    add(8, "Casablanca", 2, 19); // a video: its date is its release year
    run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description, WarrantyExpiration) "
                       "VALUES (9, 1, 'No warranty', 36526);"));

    Warranties::Dialog dialog(db, 1, QStringLiteral("Lake & Sons"), today);
    auto on = [&](int days) {
        return dateText(COleDateTime::fromDate(today.addDays(days)), false);
    };
    const QStringList listed = {
        "Ended in the last 30 days (1)|||",
        "Toaster|Kitchen|" + on(-1) + "|ended 1 day ago",
        "Ending within 30 days (2)|||",
        "Stereo|Kitchen|" + on(0) + "|ends today",
        "Fridge|Kitchen|" + on(12) + "|12 days left",
        "Ending within 12 months (1)|||",
        "Drill|Kitchen|" + on(100) + "|100 days left",
    };
    EXPECT_EQ(rows(dialog), listed);
    // The first warranty is selected; the headings open nothing.
    EXPECT_EQ(dialog.list()->GetCurSel(), 1);
    EXPECT_FALSE(dialog.noneLine()->isVisibleTo(&dialog));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    // A click on a column heading leaves the groups as they are.
    QHeaderView *header = dialog.list()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(rows(dialog), listed);

    // A screen reader is told which rows are headings; they cannot be selected.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(dialog.list());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->tableInterface(), nullptr);
    QAccessibleInterface *heading = list->tableInterface()->cellAt(2, 0);
    QAccessibleInterface *stereo = list->tableInterface()->cellAt(3, 0);
    ASSERT_NE(heading, nullptr);
    ASSERT_NE(stereo, nullptr);
    EXPECT_EQ(heading->text(QAccessible::Name), QStringLiteral("Ending within 30 days (2)"));
    EXPECT_EQ(heading->text(QAccessible::Description), QStringLiteral("heading"));
    EXPECT_FALSE(heading->state().selectable);
    EXPECT_TRUE(stereo->state().selectable);
    EXPECT_TRUE(stereo->text(QAccessible::Description).isEmpty());

    // The arrow keys step over the headings: Up from the first warranty stays on it, Down goes
    // on to the next group's first.
    dialog.list()->setFocus();
    QTest::keyClick(dialog.list(), Qt::Key_Up);
    EXPECT_EQ(dialog.list()->GetCurSel(), 1);
    QTest::keyClick(dialog.list(), Qt::Key_Down);
    EXPECT_EQ(dialog.list()->GetCurSel(), 3);

    // Enter on Fridge opens its sheet; a new date moves it to its group, still selected.
    QSignalSpy edited(&dialog, &Warranties::Dialog::assetEdited);
    QTest::keyClick(dialog.list(), Qt::Key_Down);
    ASSERT_EQ(dialog.list()->GetCurSel(), 4);
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Fridge"));
        Fill::check(sheet, "hasWarranty", true);
        sheet.findChild<QDateEdit *>("warranty")->setDate(today.addDays(150));
        Fill::click(sheet, "ok");
    });
    QTest::keyClick(dialog.list(), Qt::Key_Return);
    EXPECT_EQ(ui.dialogTitles().size(), 1);
    EXPECT_TRUE(dialog.isVisible()); // Enter is the list's, not a button's
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited[0][0].toInt(), 4);
    EXPECT_EQ(dialog.list()->GetItemText(2, 0), QStringLiteral("Ending within 30 days (1)"));
    EXPECT_EQ(dialog.list()->GetItemText(dialog.list()->GetCurSel(), 0), QStringLiteral("Fridge"));
    EXPECT_EQ(dialog.list()->GetItemText(dialog.list()->GetCurSel(), 3),
              QStringLiteral("150 days left"));
    Screenshots::save(dialog, QStringLiteral("warranties"));

    // A double click opens one sheet, not two; a cancelled sheet changes nothing.
    ui.onNextDialog([](QDialog &sheet) { Fill::click(sheet, "cancel"); });
    QApplication::processEvents();
    const QRect cell = dialog.list()->visualRect(dialog.list()->model()->index(1, 0));
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(dialog.list()->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(ui.dialogTitles().size(), 2);
    EXPECT_EQ(edited.count(), 1);

    // A click on a heading selects nothing: Properties is off and Enter opens nothing.
    const QRect title = dialog.list()->visualRect(dialog.list()->model()->index(0, 0));
    QTest::mouseClick(dialog.list()->viewport(), Qt::LeftButton, {}, title.center());
    EXPECT_EQ(dialog.list()->GetCurSel(), -1);
    auto *properties = dialog.findChild<QPushButton *>(QStringLiteral("properties"));
    ASSERT_NE(properties, nullptr);
    EXPECT_FALSE(properties->isEnabled());
    dialog.editSelected();
    EXPECT_EQ(ui.dialogTitles().size(), 2);
}

TEST_F(WarrantiesDialog, NothingToListSaysSo)
{
    add(1, "Kettle", 400);
    Warranties::Dialog dialog(db, 1, QStringLiteral("Lake & Sons"), today);
    EXPECT_EQ(dialog.list()->GetItemCount(), 0);
    EXPECT_TRUE(dialog.noneLine()->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.findChild<QPushButton *>(QStringLiteral("properties"))->isEnabled());
    // A screen reader on the empty list hears the line that says why.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(dialog.list());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Description), dialog.noneLine()->text());
}

} // namespace
