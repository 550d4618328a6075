// The loan, location, colour and category windows fit their contents: nothing clipped, nothing
// overlapping, every mnemonic unique on its page and tied to a control. With
// DOMELIO_SCREENSHOTS=<folder> each is also saved there as a PNG file to look at.
#include "app/command_ids.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"
#include "frame_fixture.h"
#include "records/area.h"
#include "records/asset.h"
#include "records/loan.h"
#include "records/maintenance.h"
#include "sheets/asset_sheet.h"
#include "sheets/categories_dialog.h"
#include "sheets/color_dialog.h"
#include "views/rooms_view.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void saveShot(QWidget &widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("DOMELIO_SCREENSHOTS");
    if (!folder.isEmpty())
        widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QChar mnemonicOf(const QString &text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1].isSpace())
                return {}; // "Rooms & Locations": an ampersand, not a mnemonic
            if (text[i + 1] != QLatin1Char('&'))
                return text[i + 1].toLower();
            ++i;
        }
    }
    return {};
}

// Every visible label, button and edit below root lies inside its parent, is not smaller than
// its text needs and overlaps no sibling; mnemonics are unique and labels with one have a buddy.
void expectTidy(QWidget &root, const QString &where)
{
    QList<QWidget *> controls;
    for (QWidget *w : root.findChildren<QWidget *>()) {
        if (w->isVisibleTo(&root)
            && (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)
                || qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)
                || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSlider *>(w)))
            controls << w;
    }
    ASSERT_FALSE(controls.isEmpty()) << where.toStdString();
    QMap<QChar, QString> mnemonics;
    for (QWidget *w : controls) {
        const std::string name = (where + QLatin1Char(' ') + w->objectName() + QLatin1Char(' ')
                                  + w->metaObject()->className())
                                     .toStdString();
        if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget()))
            continue; // a combo's own edit
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name;
        QString text;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            text = label->text();
            if (!mnemonicOf(text).isNull()) {
                EXPECT_NE(label->buddy(), nullptr) << name;
            }
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            text = button->text();
        }
        if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
        }
        const QChar key = mnemonicOf(text);
        if (!key.isNull()) {
            EXPECT_FALSE(mnemonics.contains(key))
                << name << " repeats &" << QString(key).toStdString() << " of "
                << mnemonics.value(key).toStdString();
            mnemonics.insert(key, text);
        }
        for (QWidget *other : controls) {
            if (other == w || other->parentWidget() != w->parentWidget())
                continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << name << " / " << other->objectName().toStdString();
        }
    }
}

// Each page of a sheet, shown in turn, with the sheet's own buttons.
void expectSheetTidy(QDialog &sheet, const QString &name)
{
    auto &tabs = *sheet.findChild<QTabWidget *>("pages");
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.setCurrentIndex(i);
        ASSERT_EQ(tabs.currentIndex(), i) << name.toStdString();
        QApplication::processEvents();
        expectTidy(*tabs.widget(i), name + QLatin1Char('/') + tabs.tabText(i));
        saveShot(sheet, name + QLatin1Char('_') + tabs.tabText(i).toLower());
    }
}

class RecordsLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Maple House") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 1);
        frame = &run.start();
        frame->resize(640, 520);
        frame->show();
        QApplication::processEvents();
    }

    ProgramRun run;
    CMainFrame *frame = nullptr;
};

TEST_F(RecordsLayout, LoanSheetAndTheLoansPage)
{
    CLoan mortgage;
    mortgage.m_nAssetId = 1;
    mortgage.m_strDescription = QStringLiteral("Mortgage");
    mortgage.m_strLenderName = QStringLiteral("First Bank");
    mortgage.m_fPrincipal = 245000.0f;
    ASSERT_TRUE(mortgage.Save(run.app->database()));
    CLoan card;
    card.m_nAssetId = 1;
    card.m_strDescription = QStringLiteral("Credit card");
    card.m_fPrincipal = 3200.0f;
    card.m_nAssetType = 0;
    ASSERT_TRUE(card.Save(run.app->database()));

    run.ui.onNextDialog([&](QDialog &home) {
        QApplication::processEvents();
        auto &tabs = *home.findChild<QTabWidget *>("pages");
        EXPECT_EQ(tabs.tabText(tabs.currentIndex()), QStringLiteral("Loans"));
        expectTidy(*tabs.currentWidget(), QStringLiteral("Home Profile/Loans"));
        saveShot(home, QStringLiteral("home_loans"));
        // The loan columns show their texts whole.
        auto *list = home.findChild<CAutoListCtrl *>("loans");
        EXPECT_GE(list->GetColumnWidth(0),
                  list->fontMetrics().horizontalAdvance(list->GetItemText(0, 0)));

        run.ui.onNextDialog([&](QDialog &sheet) {
            QApplication::processEvents();
            expectSheetTidy(sheet, QStringLiteral("loan"));
        });
        Fill::click(home, "editLoan");
    });
    frame->action(Command::LoanManager)->trigger();
    EXPECT_EQ(run.ui.pendingScripts(), 0);
}

TEST_F(RecordsLayout, LocationSheetSelectColorAndTheLocationsView)
{
    CArea kitchen;
    kitchen.m_nHomeId = 1;
    kitchen.m_strDescription = QStringLiteral("Kitchen");
    kitchen.m_nLength = 150;
    kitchen.m_nWidth = 120;
    kitchen.m_nHeight = 96;
    kitchen.m_nColor[0] = 0x0080C0E0;
    kitchen.m_strNotes = QStringLiteral("Oak cabinets, slate floor.");
    ASSERT_TRUE(kitchen.Save(run.app->database()));
    CArea den;
    den.m_nHomeId = 1;
    den.m_strDescription = QStringLiteral("Den");
    ASSERT_TRUE(den.Save(run.app->database()));

    frame->action(Command::LocationsView)->trigger();
    CRoomsView *view = frame->locationsView();
    view->Refresh(kitchen.id());
    QApplication::processEvents();
    expectTidy(*view, QStringLiteral("Locations view"));
    EXPECT_EQ(view->list()->geometry().top(), 24);
    EXPECT_EQ(view->descriptionBox()->geometry().bottom(), view->height() - 1);
    EXPECT_GE(view->descriptionBox()->geometry().top(), view->list()->geometry().bottom());
    saveShot(*frame, QStringLiteral("locations_view"));

    run.ui.onNextDialog([&](QDialog &sheet) {
        QApplication::processEvents();
        expectSheetTidy(sheet, QStringLiteral("location"));
        auto &tabs = *sheet.findChild<QTabWidget *>("pages");
        tabs.setCurrentIndex(1);
        run.ui.onNextDialog([&](QDialog &picker) {
            QApplication::processEvents();
            expectTidy(picker, QStringLiteral("Select Color"));
            saveShot(picker, QStringLiteral("select_color"));
            // Alt+G reaches the green slider.
            QApplication::setActiveWindow(&picker);
            QTest::keyClick(&picker, Qt::Key_G, Qt::AltModifier);
            EXPECT_EQ(QApplication::focusWidget(), picker.findChild<QWidget *>("green"));
        });
        emit sheet.findChild<CLabel *>("swatch1")->clicked();
    });
    view->EditSelected();
    EXPECT_EQ(run.ui.pendingScripts(), 0);
}

TEST_F(RecordsLayout, CategoriesDialog)
{
    run.ui.onNextDialog([&](QDialog &dialog) {
        QApplication::processEvents();
        expectTidy(dialog, QStringLiteral("Categories"));
        saveShot(dialog, QStringLiteral("categories"));
        run.ui.onNextDialog([&](QDialog &name) {
            QApplication::processEvents();
            expectTidy(name, QStringLiteral("Category"));
            saveShot(name, QStringLiteral("category_name"));
        });
        Fill::click(dialog, "new");
    });
    CDlgCategories::Choose(run.app->database(), 1, 8, frame);
    EXPECT_EQ(run.ui.pendingScripts(), 0);
}

TEST_F(RecordsLayout, MaintenanceDialogItsWindowsAndTheAssetPage)
{
    CADODataBase &db = run.app->database();
    ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, Description) "
                                          "VALUES (10, 1, 'Furnace');")));
    Maintenance::Plan plan(1);
    plan.description = QStringLiteral("Replace furnace filter");
    plan.assetId = 10;
    ASSERT_TRUE(plan.save(db));
    ASSERT_TRUE(Maintenance::markDone(db, plan, QDate::currentDate(), 24.99,
                                      QStringLiteral("MERV 8"), QDate::currentDate()));

    run.ui.onNextDialog([&](QDialog &dialog) {
        QApplication::processEvents();
        expectTidy(dialog, QStringLiteral("Maintenance"));
        saveShot(dialog, QStringLiteral("maintenance"));
        run.ui.onNextDialog([&](QDialog &sheet) {
            QApplication::processEvents();
            expectSheetTidy(sheet, QStringLiteral("maintenance plan"));
        });
        Fill::click(dialog, "editPlan");
        run.ui.onNextDialog([&](QDialog &done) {
            QApplication::processEvents();
            expectTidy(done, QStringLiteral("Mark Done"));
            saveShot(done, QStringLiteral("maintenance_done"));
        });
        Fill::click(dialog, "markDone");
    });
    frame->action(Command::Maintenance)->trigger();
    EXPECT_EQ(run.ui.pendingScripts(), 0);

    run.ui.onNextDialog([&](QDialog &sheet) {
        QApplication::processEvents();
        expectSheetTidy(sheet, QStringLiteral("asset"));
    });
    CAsset furnace(10);
    ASSERT_TRUE(furnace.Load(db));
    CAssetSheet::Edit(furnace, db, frame);
    EXPECT_EQ(run.ui.pendingScripts(), 0);
}

} // namespace
