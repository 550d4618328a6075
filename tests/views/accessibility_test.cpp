// What a screen reader is given of a view and of a sheet: names, roles and texts read through
// QAccessible, as assistive technology and GUI test tools read them.
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "format/display_text.h"
#include "sheets/area_colors_page.h"
#include "sheets/area_details_page.h"
#include "sheets/home_loans_page.h"
#include "sheets/home_sheet.h"
#include "sheets/recommend_movie_dialog.h"
#include "sheets/shopping_item_dialog.h"
#include "sheets/video_title_page.h"
#include "support/fake_view_host.h"
#include "views/home_mgr_view.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleTableInterface>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(iface, nullptr);
    return iface;
}

QString nameOf(QObject *object)
{
    QAccessibleInterface *iface = accessible(object);
    return iface ? iface->text(QAccessible::Name) : QString();
}

TEST(Accessibility, TheHomesViewNamesItsPromptAndItsRows)
{
    FakeViewHost host;
    ASSERT_TRUE(host.db.Execute(QStringLiteral(
        "INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake house'), (2, 'Flat');")));
    CHomeMgrView view(host, &host.window);
    view.Refresh(2);
    host.window.show();

    auto *prompt = view.findChild<CLabel *>(QStringLiteral("prompt"));
    ASSERT_NE(prompt, nullptr);
    QAccessibleInterface *promptIface = accessible(prompt);
    ASSERT_NE(promptIface, nullptr);
    EXPECT_EQ(promptIface->role(), QAccessible::StaticText);
    EXPECT_EQ(promptIface->text(QAccessible::Name), QStringLiteral("Please select a home..."));

    // The list: its rows and their texts reach the reader, in the order shown.
    QAccessibleInterface *list = accessible(view.list());
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->text(QAccessible::Name).isEmpty());
    QAccessibleTableInterface *table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    QAccessibleInterface *first = table->cellAt(0, 0);
    QAccessibleInterface *second = table->cellAt(1, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Flat"));
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("Lake house"));
    EXPECT_TRUE(first->state().selected);
}

TEST(Accessibility, AClickableLabelIsALinkThatCanBePressed)
{
    CLabel label(QStringLiteral("Home Inventory is worth $12.00"));
    QAccessibleInterface *plain = accessible(&label);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->role(), QAccessible::StaticText);
    EXPECT_EQ(plain->actionInterface() ? plain->actionInterface()->actionNames() : QStringList(),
              QStringList());

    QSignalSpy clicked(&label, &CLabel::clicked);
    EXPECT_EQ(label.focusPolicy(), Qt::StrongFocus); // the spy listens: it is a link now
    QAccessibleInterface *link = accessible(&label);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), QStringLiteral("Home Inventory is worth $12.00"));
    ASSERT_NE(link->actionInterface(), nullptr);
    EXPECT_EQ(link->actionInterface()->actionNames(),
              QStringList { QAccessibleActionInterface::pressAction() });
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicked.count(), 1);

    // Blinking hides the text on screen half the time, never from the reader.
    label.StartBlink(CLabel::BlinkText, 10000);
    label.OnTimer();
    EXPECT_EQ(link->text(QAccessible::Name), QStringLiteral("Home Inventory is worth $12.00"));
    label.StopBlink();
}

TEST(Accessibility, TheHomeProfileNamesEveryEditByItsLabel)
{
    CHome home;
    home.m_strDescription = QStringLiteral("Lake house");
    CHomeSheet sheet(home);
    sheet.show();
    const struct
    {
        const char *objectName;
        const char *name;
    } edits[] = { { "description", "Description:" },
                  { "currentValue", "Curr. Value:" },
                  { "address", "Address:" } };
    for (const auto &e : edits) {
        QWidget *edit = sheet.findChild<QWidget *>(QString::fromLatin1(e.objectName));
        ASSERT_NE(edit, nullptr) << e.objectName;
        EXPECT_EQ(nameOf(edit), QString::fromLatin1(e.name)) << e.objectName;
    }
    QAccessibleInterface *description =
        accessible(sheet.findChild<QWidget *>(QStringLiteral("description")));
    ASSERT_NE(description->textInterface(), nullptr);
    EXPECT_EQ(description->textInterface()->text(0, 10), QStringLiteral("Lake house"));
    EXPECT_EQ(description->role(), QAccessible::EditableText);
}

// A label that shows a value is read with the value, and the edit inside an editable combo box
// (which holds the focus) is read with the box's name.
TEST(Accessibility, ValuesAndTheEditsOfEditableCombosHaveNamesThatSayThem)
{
    setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    FakeViewHost host;
    ASSERT_TRUE(host.db.Execute(QStringLiteral(
        "INSERT INTO Loans (LoanId, AssetId, AssetType, Principal, Description) VALUES (1, 1, 1, "
        "100000, 'Mortgage'), (2, 1, 0, 5000, 'Card');")));
    CDlgHome_Loan loans(host.db, 1);
    loans.toControls();
    EXPECT_EQ(nameOf(loans.findChild<QLabel *>(QStringLiteral("totalLiability"))),
              QStringLiteral("Total Outstanding Liability: $100,000.00"));
    ASSERT_TRUE(host.db.Execute(QStringLiteral("DELETE FROM Loans WHERE LoanId=1;")));
    loans.Fill();
    EXPECT_EQ(nameOf(loans.findChild<QLabel *>(QStringLiteral("totalLiability"))),
              QStringLiteral("Total Outstanding Liability: $0.00"));

    CDlgArea_Colors colors;
    colors.m_strLabel[0] = QStringLiteral("Walls");
    colors.m_strLabel[1] = QStringLiteral("Curtains");
    colors.m_nColor[0] = 150 << 16 | 180 << 8 | 200;
    colors.toControls();
    EXPECT_EQ(nameOf(colors.findChild<CLabel *>(QStringLiteral("swatch1"))),
              QStringLiteral("Color 1: Walls, red 200, green 180, blue 150"));
    EXPECT_EQ(nameOf(colors.findChild<CLabel *>(QStringLiteral("swatch2"))),
              QStringLiteral("Color 2: Curtains, no color chosen"));

    CDlgArea_Tab1 location;
    CDlgAsset_Video title;
    CDlgRecommendMovie recommend(host.db);
    CDlgShoppingItem item(host.db, CTask());
    const struct
    {
        QWidget *root;
        const char *combo;
        const char *name;
    } combos[] = { { &location, "description", "Description:" },
                   { &title, "genre", "Genre:" },
                   { &recommend, "genre", "Genre:" },
                   { &item, "unit", "Unit" },
                   { &item, "store", "Store:" },
                   { &item, "aisle", "Aisle/Location:" } };
    // An up-down box is read as one control (its edit is not shown apart): named by its label.
    EXPECT_EQ(nameOf(item.findChild<QAbstractSpinBox *>(QStringLiteral("quantityUpDown"))),
              QStringLiteral("Qty/Amount:"));
    EXPECT_EQ(nameOf(item.findChild<QAbstractSpinBox *>(QStringLiteral("priceUpDown"))),
              QStringLiteral("Price:"));
    EXPECT_EQ(nameOf(title.findChild<QAbstractSpinBox *>(QStringLiteral("releaseYearUpDown"))),
              QStringLiteral("Release Year:"));
    for (const auto &c : combos) {
        auto *combo = c.root->findChild<QComboBox *>(QString::fromLatin1(c.combo));
        ASSERT_NE(combo, nullptr) << c.combo;
        ASSERT_NE(combo->lineEdit(), nullptr) << c.combo;
        EXPECT_EQ(nameOf(combo->lineEdit()), QString::fromLatin1(c.name)) << c.combo;
    }
    resetUserLocale();
}

} // namespace
