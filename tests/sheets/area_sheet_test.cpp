#include "controls/label.h"
#include "db/ado_database.h"
#include "records/area.h"
#include "sheets/area_colors_page.h"
#include "sheets/area_sheet.h"
#include "sheets/color_dialog.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AreaSheet : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(db.Open(env.dataFile())); }

    static QTabWidget &tabs(QDialog &sheet) { return *sheet.findChild<QTabWidget *>("pages"); }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
};

TEST_F(AreaSheet, ANewLocationOpensAsNewLocationAndKeepsATypedName)
{
    CArea area;
    area.m_nHomeId = 3;
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Location Properties"));
        ASSERT_EQ(tabs(sheet).count(), 3);
        EXPECT_EQ(tabs(sheet).tabText(0), QStringLiteral("Details"));
        EXPECT_EQ(tabs(sheet).tabText(1), QStringLiteral("Colors"));
        EXPECT_EQ(tabs(sheet).tabText(2), QStringLiteral("Notes"));
        auto *names = sheet.findChild<QComboBox *>("description");
        EXPECT_EQ(names->currentText(), QStringLiteral("New Location"));
        ASSERT_EQ(names->count(), 19);
        EXPECT_EQ(names->itemText(0), QStringLiteral("Attic"));
        EXPECT_EQ(names->itemText(18), QStringLiteral("Utility Room"));
        EXPECT_EQ(Fill::textOf(sheet, "lengthFeet"), QStringLiteral("0"));
        Fill::text(sheet, "description", QStringLiteral("Den"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAreaSheet::Edit(area, db, nullptr));
    CArea stored(area.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_strDescription, QStringLiteral("Den"));
    EXPECT_EQ(stored.m_nHomeId, 3);
    EXPECT_EQ(stored.m_strLabel[1], QStringLiteral("Curtains"));

    // A stored name picks its entry, whatever its letter case.
    stored.m_strDescription = QStringLiteral("kitchen");
    ui.onNextDialog([&](QDialog &sheet) {
        auto *names = sheet.findChild<QComboBox *>("description");
        EXPECT_EQ(names->itemText(names->currentIndex()), QStringLiteral("Kitchen"));
        EXPECT_EQ(names->currentText(), QStringLiteral("kitchen"));
    });
    EXPECT_FALSE(CAreaSheet::Edit(stored, db, nullptr));

    // Typed keys are kept as typed: no listed name that begins with them completes them.
    for (const QString &typed :
         { QStringLiteral("Bedroom"), QStringLiteral("Bed"), QStringLiteral("master") }) {
        CArea room;
        ui.onNextDialog([&](QDialog &sheet) {
            sheet.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
            auto *names = sheet.findChild<QComboBox *>("description");
            // The box has the focus and hands each key to its edit.
            ASSERT_EQ(QApplication::focusWidget(), names);
            QTest::keyClicks(QApplication::focusWidget(), typed);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            Fill::click(sheet, "ok");
        });
        ASSERT_TRUE(CAreaSheet::Edit(room, db, nullptr)) << typed.toStdString();
        CArea saved(room.id());
        ASSERT_TRUE(saved.Load(db));
        EXPECT_EQ(saved.m_strDescription, typed);
    }
}

TEST_F(AreaSheet, DimensionsAreFeetAndInchesAndBadInputKeepsThePage)
{
    CArea area;
    area.m_strDescription = QStringLiteral("Hall");
    area.m_nLength = 150;
    area.m_nWidth = 120;
    ASSERT_TRUE(area.Save(db));
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "lengthFeet"), QStringLiteral("12"));
        EXPECT_EQ(Fill::textOf(sheet, "lengthInches"), QStringLiteral("6"));
        EXPECT_EQ(Fill::textOf(sheet, "widthFeet"), QStringLiteral("10"));
        EXPECT_EQ(Fill::textOf(sheet, "widthInches"), QStringLiteral("0"));

        const std::pair<const char *, const char *> refused[] = {
            { "heightFeet", "abc" },          { "heightFeet", "" },
            { "heightInches", "3-" },         { "widthFeet", "1e3" },
            { "lengthFeet", "999999999999" }, { "lengthFeet", "-999999999999" },
        };
        for (const auto &[edit, text] : refused) {
            const size_t before = ui.messages().size();
            Fill::text(sheet, QLatin1String(edit), QLatin1String(text));
            tabs(sheet).setCurrentIndex(1);
            EXPECT_EQ(tabs(sheet).currentIndex(), 0) << edit << " " << text;
            ASSERT_EQ(ui.messages().size(), before + 1) << edit << " " << text;
            Fill::click(sheet, "ok");
            EXPECT_TRUE(sheet.isVisible());
            Fill::text(sheet, QLatin1String(edit), QStringLiteral("0"));
        }
        EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Please enter an integer."));
        EXPECT_FALSE(ui.messageTexts().filter(QStringLiteral("The length is too large")).isEmpty());
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("The length is too small. Please enter at least -178956970 ft. "
                                 "-8 in."));

        // 5 ft. 14 in. is 74 inches; the most a length can be is kept exactly.
        Fill::text(sheet, "lengthFeet", QStringLiteral("5"));
        Fill::text(sheet, "lengthInches", QStringLiteral("14"));
        Fill::text(sheet, "widthFeet", QStringLiteral("178956970"));
        Fill::text(sheet, "widthInches", QStringLiteral("7"));
        Fill::text(sheet, "heightFeet", QStringLiteral("8"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAreaSheet::Edit(area, db, nullptr));
    CArea stored(area.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_nLength, 74);
    EXPECT_EQ(stored.m_nWidth, 2147483647);
    EXPECT_EQ(stored.m_nHeight, 96);

    // An emptied description is refused with the location's message.
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral(" "));
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("Please enter a description for this location."));
    });
    EXPECT_FALSE(CAreaSheet::Edit(stored, db, nullptr));

    // Negative lengths (the handheld stores them) show their sign in both parts and come back
    // unchanged; a minus may be typed too.
    stored.m_nLength = -5;
    stored.m_nWidth = -17;
    ASSERT_TRUE(stored.Save(db));
    const size_t messagesBefore = ui.messages().size();
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "lengthFeet"), QStringLiteral("0"));
        EXPECT_EQ(Fill::textOf(sheet, "lengthInches"), QStringLiteral("-5"));
        EXPECT_EQ(Fill::textOf(sheet, "widthFeet"), QStringLiteral("-1"));
        EXPECT_EQ(Fill::textOf(sheet, "widthInches"), QStringLiteral("-5"));
        auto *heightFeet = sheet.findChild<QLineEdit *>("heightFeet");
        heightFeet->selectAll();
        QTest::keyClicks(heightFeet, QStringLiteral("-2"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAreaSheet::Edit(stored, db, nullptr));
    EXPECT_EQ(ui.messages().size(), messagesBefore);
    CArea negative(stored.id());
    ASSERT_TRUE(negative.Load(db));
    EXPECT_EQ(negative.m_nLength, -5);
    EXPECT_EQ(negative.m_nWidth, -17);
    EXPECT_EQ(negative.m_nHeight, -24);
}

TEST_F(AreaSheet, ColorsComeFromSelectColorAndWhiteMeansNone)
{
    CArea area;
    area.m_strDescription = QStringLiteral("Study");
    ui.onNextDialog([&](QDialog &sheet) {
        tabs(sheet).setCurrentIndex(1);
        auto *swatch = sheet.findChild<CLabel *>("swatch1");
        EXPECT_EQ(swatch->text(), QStringLiteral("Click to change color"));
        EXPECT_EQ(Fill::textOf(sheet, "label1"), QStringLiteral("Walls"));
        EXPECT_TRUE(sheet.findChild<QWidget *>("label1")->font().bold());

        // Cancel changes nothing.
        ui.onNextDialog([](QDialog &picker) {
            Fill::text(picker, "description", QStringLiteral("ignored"));
            Fill::click(picker, "cancel");
        });
        emit swatch->clicked();
        EXPECT_EQ(Fill::textOf(sheet, "label1"), QStringLiteral("Walls"));

        ui.onNextDialog([](QDialog &picker) {
            EXPECT_EQ(picker.windowTitle(), QStringLiteral("Select Color"));
            EXPECT_EQ(Fill::textOf(picker, "description"), QStringLiteral("Walls"));
            picker.findChild<QSlider *>("red")->setValue(0x11);
            picker.findChild<QSlider *>("green")->setValue(0x22);
            picker.findChild<QSlider *>("blue")->setValue(0x33);
            Fill::text(picker, "description", QStringLiteral("Walls \"sage\""));
            Fill::click(picker, "ok");
        });
        emit swatch->clicked();
        EXPECT_EQ(swatch->text(), QString());
        EXPECT_EQ(swatch->bkColor(), QColor(0x11, 0x22, 0x33));
        EXPECT_EQ(Fill::textOf(sheet, "label1"), QStringLiteral("Walls \"sage\""));

        // Pure white is the mark for no colour: the prompt comes back.
        auto *third = sheet.findChild<CLabel *>("swatch3");
        ui.onNextDialog([](QDialog &picker) {
            picker.findChild<QSlider *>("red")->setValue(0);
            picker.findChild<QSlider *>("red")->setValue(255);
            Fill::click(picker, "ok");
        });
        emit third->clicked();
        EXPECT_EQ(third->text(), QStringLiteral("Click to change color"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAreaSheet::Edit(area, db, nullptr));
    CArea stored(area.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_nColor[0], 0x00332211);
    EXPECT_EQ(stored.m_strLabel[0], QStringLiteral("Walls \"sage\""));
    EXPECT_EQ(stored.m_nColor[1], 0xFFFFFF);
    EXPECT_EQ(stored.m_nColor[2], 0xFFFFFF);
}

TEST(SelectColor, SlidersAndWrappingUpDownsMixTheColour)
{
    CDlgSelectColor dialog(0x00FF8001, QStringLiteral("Trim"));
    EXPECT_EQ(dialog.component(0), 0x01);
    EXPECT_EQ(dialog.component(1), 0x80);
    EXPECT_EQ(dialog.component(2), 0xFF);
    auto *blue = dialog.findChild<QSpinBox *>("blueValue");
    auto *blueSlider = dialog.findChild<QSlider *>("blue");
    EXPECT_EQ(blue->value(), 255);
    EXPECT_TRUE(blue->findChild<QLineEdit *>()->isReadOnly());

    // Up from 255 wraps to 0, down from 0 back to 255; the slider follows.
    blue->stepUp();
    EXPECT_EQ(dialog.component(2), 0);
    EXPECT_EQ(blueSlider->value(), 0);
    EXPECT_EQ(dialog.color(), 0x00008001);
    blue->stepDown();
    EXPECT_EQ(dialog.color(), 0x00FF8001);

    dialog.findChild<QSlider *>("red")->setValue(200);
    EXPECT_EQ(dialog.findChild<QSpinBox *>("redValue")->value(), 200);
    EXPECT_EQ(dialog.color(), 0x00FF80C8);
    EXPECT_EQ(dialog.findChild<CLabel *>("preview")->bkColor(), QColor(200, 0x80, 0xFF));

    Fill::text(dialog, "description", QStringLiteral("Door trim"));
    dialog.accept();
    EXPECT_EQ(dialog.description(), QStringLiteral("Door trim"));
}

} // namespace
