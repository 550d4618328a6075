#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "format/display_text.h"
#include "records/asset.h"
#include "records/video_titles.h"
#include "sheets/asset_sheet.h"
#include "sheets/recommend_movie_dialog.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"
#include "widgets/picture_page.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AssetSheet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.Open(env.dataFile()));
        exec("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Main'), (2, 'Cabin');");
        exec("INSERT INTO Areas (AreaId, HomeId, Description) VALUES (5, 1, 'Kitchen'), "
             "(6, 1, 'Attic'), (7, 2, 'Porch');");
    }

    void exec(const char *sql) { ASSERT_TRUE(db.Execute(QString::fromUtf8(sql))); }

    static QTabWidget &tabs(QDialog &sheet) { return *sheet.findChild<QTabWidget *>("pages"); }
    static QStringList tabTexts(QDialog &sheet)
    {
        QStringList texts;
        for (int i = 0; i < tabs(sheet).count(); ++i)
            texts << tabs(sheet).tabText(i);
        return texts;
    }
    static QComboBox &combo(QDialog &sheet, const char *name)
    {
        return *sheet.findChild<QComboBox *>(name);
    }
    static QStringList entries(QComboBox &box)
    {
        QStringList texts;
        for (int i = 0; i < box.count(); ++i)
            texts << box.itemText(i);
        return texts;
    }
    static void shoot(QDialog &sheet, const QString &name) { Screenshots::save(sheet, name); }

    CAsset stored(qint32 id)
    {
        CAsset asset(id);
        EXPECT_TRUE(asset.Load(db));
        return asset;
    }

    // A new video title of home 1 through its sheet, and what the sheet stored.
    CAsset storedNewTitle()
    {
        CAsset title;
        title.m_lHomeId = 1;
        title.m_lCategoryId = CAsset::kVideoCategoryId;
        EXPECT_TRUE(CAssetSheet::Edit(title, db, nullptr));
        return stored(title.id());
    }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
};

TEST_F(AssetSheet, ANewAssetIsSavedWithTheEntriesOfEveryPage)
{
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Asset Properties"));
        EXPECT_EQ(
            tabTexts(sheet),
            (QStringList { "Details", "Purchase", "Other", "Picture", "Notes", "Attachments" }));
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("New Asset"));
        EXPECT_EQ(combo(sheet, "category").currentText(), QStringLiteral("Please select..."));
        // Only this home's locations, by name, after "(optional)".
        EXPECT_EQ(entries(combo(sheet, "location")),
                  (QStringList { "(optional)", "Attic", "Kitchen" }));
        shoot(sheet, QStringLiteral("asset_details"));

        Fill::text(sheet, "description", QStringLiteral("Sofa"));
        Fill::text(sheet, "location", QStringLiteral("Kitchen"));
        Fill::text(sheet, "currentValue", QStringLiteral("350.5"));
        tabs(sheet).setCurrentIndex(1);
        Fill::text(sheet, "purchasePrice", QStringLiteral("800"));
        sheet.findChild<QDateEdit *>("purchaseDate")->setDate(QDate(2021, 5, 4));
        Fill::text(sheet, "vendor", QStringLiteral("Big & Tall Furniture"));
        Fill::text(sheet, "phone1", QStringLiteral("555-0101"));
        Fill::text(sheet, "makeModel", QStringLiteral("Chesterfield"));
        shoot(sheet, QStringLiteral("asset_purchase"));
        tabs(sheet).setCurrentIndex(2);
        Fill::text(sheet, "serialNumber", QStringLiteral("X-9"));
        Fill::text(sheet, "replacementValue", QStringLiteral("900"));
        Fill::check(sheet, "hasWarranty", true);
        sheet.findChild<QDateEdit *>("warranty")->setDate(QDate(2030, 1, 31));
        shoot(sheet, QStringLiteral("asset_other"));
        tabs(sheet).setCurrentIndex(3);
        Fill::text(sheet, "picturePath", QStringLiteral("/pictures/sofa.jpg"));
        shoot(sheet, QStringLiteral("asset_picture"));
        tabs(sheet).setCurrentIndex(4);
        Fill::text(sheet, "notes", QStringLiteral("Green leather"));
        shoot(sheet, QStringLiteral("asset_notes"));
        Fill::click(sheet, "ok");
    });
    CAsset asset;
    asset.m_lHomeId = 1;
    ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
    EXPECT_TRUE(ui.messages().empty());

    const CAsset saved = stored(asset.id());
    EXPECT_EQ(saved.m_lHomeId, 1);
    EXPECT_EQ(saved.m_strDescription, QStringLiteral("Sofa"));
    EXPECT_EQ(saved.m_lCategoryId, 0); // left at "Please select...": saved without complaint
    EXPECT_EQ(saved.m_lAreaId, 5);
    EXPECT_EQ(saved.m_fCurrentValue, 350.5f);
    EXPECT_EQ(saved.m_fPurchasePrice, 800.0f);
    EXPECT_EQ(saved.m_dtPurchaseDate.date(), QDate(2021, 5, 4));
    EXPECT_EQ(saved.m_strVendor, QStringLiteral("Big & Tall Furniture"));
    EXPECT_EQ(saved.m_strPhone1, QStringLiteral("555-0101"));
    EXPECT_EQ(saved.m_strMakeModel, QStringLiteral("Chesterfield"));
    EXPECT_EQ(saved.m_strSerialNumber, QStringLiteral("X-9"));
    EXPECT_EQ(saved.m_fReplacementValue, 900.0f);
    EXPECT_EQ(saved.m_dtWarrantyExpiration, COleDateTime(2030, 1, 31));
    EXPECT_EQ(saved.m_strPicture, QStringLiteral("/pictures/sofa.jpg"));
    EXPECT_EQ(saved.m_strNotes, QStringLiteral("Green leather"));
}

TEST_F(AssetSheet, TheCategoriesButtonRefillsTheDropDownWithTheChosenCategory)
{
    ui.onNextDialog([&](QDialog &sheet) {
        QComboBox &category = combo(sheet, "category");
        Fill::text(sheet, "category", QStringLiteral("Art"));
        Fill::click(sheet, "categories");
        // A category made in the dialog is listed and selected, though the dialog was
        // cancelled.
        EXPECT_EQ(category.currentText(), QStringLiteral("Aquariums"));
        EXPECT_TRUE(entries(category).contains(QStringLiteral("Aquariums")));
        Fill::click(sheet, "ok");
    });
    ui.onNextDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Categories"));
        Fill::click(dialog, "new");
    });
    ui.onNextDialog([&](QDialog &name) {
        Fill::text(name, "name", QStringLiteral("Aquariums"));
        Fill::click(name, "ok");
    });
    CAsset asset;
    asset.m_lHomeId = 1;
    ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
    CADORecordset rs(db);
    ASSERT_TRUE(rs.Open(QStringLiteral("SELECT Description FROM Categories WHERE CategoryId=%1;")
                            .arg(stored(asset.id()).m_lCategoryId)));
    QString name;
    rs.GetString(0, name);
    EXPECT_EQ(name, QStringLiteral("Aquariums"));
}

TEST_F(AssetSheet, MoneyEditsRefuseWhatIsNotANumberAndKeepThePage)
{
    ui.onNextDialog([&](QDialog &sheet) {
        for (const char *bad : { "12,50", "abc", "1e39", "" }) {
            Fill::text(sheet, "currentValue", QString::fromLatin1(bad));
            tabs(sheet).setCurrentIndex(1);
            EXPECT_EQ(tabs(sheet).currentIndex(), 0) << bad;
        }
        EXPECT_EQ(ui.messages().size(), 4u);
        EXPECT_EQ(ui.messages().back().text, QStringLiteral("Please enter a number."));
        Fill::text(sheet, "currentValue", QStringLiteral("-5"));
        tabs(sheet).setCurrentIndex(1);
        Fill::text(sheet, "purchasePrice", QStringLiteral("1e39"));
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(tabs(sheet).currentIndex(), 1);
        EXPECT_EQ(ui.messages().size(), 5u);
        tabs(sheet).setCurrentIndex(2);
        Fill::text(sheet, "purchasePrice", QStringLiteral("1e3"));
        tabs(sheet).setCurrentIndex(2);
        Fill::text(sheet, "replacementValue", QStringLiteral("lots"));
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(tabs(sheet).currentIndex(), 2);
        Fill::text(sheet, "replacementValue", QStringLiteral("0"));
        Fill::click(sheet, "ok");
        EXPECT_FALSE(sheet.isVisible());
    });
    CAsset asset;
    asset.m_lHomeId = 1;
    ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
    EXPECT_EQ(stored(asset.id()).m_fCurrentValue, -5.0f);
    EXPECT_EQ(stored(asset.id()).m_fPurchasePrice, 1000.0f);
}

TEST_F(AssetSheet, AnEmptyDescriptionKeepsTheDetailsPage)
{
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QString());
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text,
                  QStringLiteral("Please enter a description for this asset."));
        EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Domelio"));
    });
    CAsset asset;
    EXPECT_FALSE(CAssetSheet::Edit(asset, db, nullptr));
    EXPECT_FALSE(asset.Exists());
}

TEST_F(AssetSheet, TheWarrantyYear2000MeansNoDateBothWays)
{
    CAsset asset;
    asset.m_lHomeId = 1;
    asset.m_dtWarrantyExpiration = COleDateTime(2000, 6, 15);
    ASSERT_TRUE(asset.Save(db));
    ui.onNextDialog([&](QDialog &sheet) {
        tabs(sheet).setCurrentIndex(2);
        EXPECT_FALSE(sheet.findChild<QCheckBox *>("hasWarranty")->isChecked());
        EXPECT_FALSE(sheet.findChild<QDateEdit *>("warranty")->isEnabled());
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
    EXPECT_EQ(stored(asset.id()).m_dtWarrantyExpiration, COleDateTime(2000, 1, 1));

    // A warranty that ran out before 2000 is a date like any other and stays as it is.
    asset.m_dtWarrantyExpiration = COleDateTime(1999, 3, 2);
    ASSERT_TRUE(asset.Save(db));
    ui.onNextDialog([&](QDialog &sheet) {
        tabs(sheet).setCurrentIndex(2);
        EXPECT_TRUE(sheet.findChild<QCheckBox *>("hasWarranty")->isChecked());
        EXPECT_EQ(sheet.findChild<QDateEdit *>("warranty")->date(), QDate(1999, 3, 2));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
    EXPECT_EQ(stored(asset.id()).m_dtWarrantyExpiration, COleDateTime(1999, 3, 2));

    // Clearing the box stores "no date".
    ui.onNextDialog([&](QDialog &sheet) {
        tabs(sheet).setCurrentIndex(2);
        Fill::check(sheet, "hasWarranty", false);
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
    EXPECT_EQ(stored(asset.id()).m_dtWarrantyExpiration, CAsset::noWarrantyDate());
}

TEST_F(AssetSheet, UnknownStoredIdsShowTheFirstEntryAndBecomeZero)
{
    exec("INSERT INTO Assets (AssetId, HomeId, AreaId, CategoryId, Description) VALUES "
         "(10, 1, 7, 999, 'Lamp'), (11, 1, 7, 999, 'Old reel');");
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(combo(sheet, "category").currentText(), QStringLiteral("Please select..."));
        // Location 7 belongs to another home: not listed here.
        EXPECT_EQ(combo(sheet, "location").currentText(), QStringLiteral("(optional)"));
        Fill::click(sheet, "ok");
    });
    CAsset lamp = stored(10);
    ASSERT_TRUE(CAssetSheet::Edit(lamp, db, nullptr));
    EXPECT_EQ(stored(10).m_lCategoryId, 0);
    EXPECT_EQ(stored(10).m_lAreaId, 0);

    // A cancelled sheet changes nothing.
    exec("UPDATE Assets SET CategoryId=999, AreaId=7 WHERE AssetId=10;");
    ui.onNextDialog([&](QDialog &sheet) { Fill::click(sheet, "cancel"); });
    lamp = stored(10);
    EXPECT_FALSE(CAssetSheet::Edit(lamp, db, nullptr));
    EXPECT_EQ(stored(10).m_lCategoryId, 999);
}

TEST_F(AssetSheet, AVideoTitleKeepsItsStoredIdsAndShowsItsOwnPages)
{
    exec("INSERT INTO Assets (AssetId, HomeId, AreaId, CategoryId, CurrentValue, Description, "
         "MakeModel, WarrantyExpiration) VALUES (20, 1, 77, 19, 9.5, 'Heat', 'Action/Adventure', "
         "34700);"); // 1995-01-01
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(tabTexts(sheet),
                  (QStringList { "Details", "Title Information", "Notes", "Attachments" }));
        QComboBox &category = combo(sheet, "category");
        EXPECT_EQ(category.currentText(), QStringLiteral("Videos"));
        EXPECT_FALSE(category.isEnabled());
        EXPECT_FALSE(sheet.findChild<QWidget *>("categories")->isEnabled());
        EXPECT_FALSE(sheet.findChild<QWidget *>("location")->isVisible());
        EXPECT_FALSE(sheet.findChild<QWidget *>("currentValue")->isVisible());
        tabs(sheet).setCurrentIndex(1);
        EXPECT_EQ(combo(sheet, "genre").currentText(), QStringLiteral("Action/Adventure"));
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QStringLiteral("1995"));
        Fill::text(sheet, "genre", QStringLiteral("Heist"));
        Fill::text(sheet, "releaseYear", QStringLiteral("1996"));
        Fill::click(sheet, "ok");
    });
    CAsset heat = stored(20);
    ASSERT_TRUE(CAssetSheet::Edit(heat, db, nullptr));
    const CAsset saved = stored(20);
    EXPECT_EQ(saved.m_lCategoryId, 19);
    EXPECT_EQ(saved.m_lAreaId, 77);
    EXPECT_EQ(saved.m_fCurrentValue, 9.5f);
    EXPECT_EQ(saved.m_strMakeModel, QStringLiteral("Heist"));
    EXPECT_EQ(saved.m_dtWarrantyExpiration, COleDateTime(1996, 1, 1));
}

TEST_F(AssetSheet, ReleaseYearsFrom1900ToNextYear)
{
    const int next = VideoTitles::lastReleaseYear();
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("New Video"));
        tabs(sheet).setCurrentIndex(1);
        EXPECT_EQ(combo(sheet, "genre").currentText(), QStringLiteral("General"));
        EXPECT_EQ(combo(sheet, "genre").count(), 20);
        EXPECT_EQ(combo(sheet, "genre").itemText(0), QStringLiteral("Action/Adventure"));
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QStringLiteral("2000"));
        for (const QString &bad :
             { QString(), QStringLiteral("1899"), QString::number(next + 1) }) {
            Fill::text(sheet, "releaseYear", bad);
            tabs(sheet).setCurrentIndex(2);
            EXPECT_EQ(tabs(sheet).currentIndex(), 1) << bad.toStdString();
        }
        ASSERT_EQ(ui.messages().size(), 3u);
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("Please enter an integer between 1900 and %1.").arg(next));
        // The year's up-down: its arrows and the arrow keys step it within the range.
        auto *upDown = sheet.findChild<QAbstractSpinBox *>("releaseYearUpDown");
        ASSERT_NE(upDown, nullptr);
        EXPECT_EQ(upDown->buttonSymbols(), QAbstractSpinBox::UpDownArrows);
        auto clickArrow = [&](QStyle::SubControl arrow) {
            QStyleOptionSpinBox option;
            option.initFrom(upDown);
            option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
            option.buttonSymbols = upDown->buttonSymbols();
            option.frame = upDown->hasFrame();
            const QRect rect =
                upDown->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, upDown);
            QTest::mouseClick(upDown, Qt::LeftButton, {}, rect.center());
        };
        Fill::text(sheet, "releaseYear", QStringLiteral("2000"));
        clickArrow(QStyle::SC_SpinBoxUp);
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QStringLiteral("2001"));
        clickArrow(QStyle::SC_SpinBoxDown);
        clickArrow(QStyle::SC_SpinBoxDown);
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QStringLiteral("1999"));
        QTest::keyClick(upDown->findChild<QLineEdit *>(), Qt::Key_Up);
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QStringLiteral("2000"));
        Fill::text(sheet, "releaseYear", QStringLiteral("1900"));
        clickArrow(QStyle::SC_SpinBoxDown);
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QStringLiteral("1900"));
        Fill::text(sheet, "releaseYear", QString::number(next));
        clickArrow(QStyle::SC_SpinBoxUp);
        EXPECT_EQ(Fill::textOf(sheet, "releaseYear"), QString::number(next));
        shoot(sheet, QStringLiteral("video_title_information"));
        tabs(sheet).setCurrentIndex(0);
        shoot(sheet, QStringLiteral("video_details"));
        tabs(sheet).setCurrentIndex(2);
        shoot(sheet, QStringLiteral("video_notes"));
        Fill::click(sheet, "ok");
    });
    const CAsset saved = storedNewTitle();
    EXPECT_EQ(saved.m_strDescription, QStringLiteral("New Video"));
    EXPECT_EQ(saved.m_strMakeModel, QStringLiteral("General"));
    EXPECT_EQ(saved.m_dtWarrantyExpiration, COleDateTime(next, 1, 1));
    EXPECT_EQ(saved.m_lCategoryId, 19);
}

TEST_F(AssetSheet, ANewTitleSavedUnchangedIsAGeneralTitleOf2000WithOrWithoutItsCategory)
{
    for (const bool deleted : { false, true }) {
        SCOPED_TRACE(deleted ? "video category deleted" : "video category present");
        if (deleted)
            exec("DELETE FROM Categories WHERE CategoryId=19;");
        ui.onNextDialog([&](QDialog &sheet) {
            EXPECT_EQ(tabTexts(sheet),
                      (QStringList { "Details", "Title Information", "Notes", "Attachments" }));
            EXPECT_EQ(combo(sheet, "category").currentText(),
                      deleted ? QStringLiteral("Please select...") : QStringLiteral("Videos"));
            EXPECT_FALSE(combo(sheet, "category").isEnabled());
            Fill::click(sheet, "ok");
        });
        const CAsset saved = storedNewTitle();
        EXPECT_EQ(saved.m_lCategoryId, 19);
        EXPECT_EQ(saved.m_strDescription, QStringLiteral("New Video"));
        EXPECT_EQ(saved.m_strMakeModel, QStringLiteral("General"));
        EXPECT_EQ(saved.m_dtWarrantyExpiration, COleDateTime(2000, 1, 1));
        const auto found = VideoTitles::search(db, QStringLiteral("General"));
        ASSERT_EQ(found.size(), deleted ? 2u : 1u);
        EXPECT_EQ(found.back().year, 2000);
    }
}

TEST_F(AssetSheet, AMissingPictureShowsNothingAndSaysNothing)
{
    const QString missing = env.root() + QStringLiteral("/gone/holiday.jpg");
    const QString junk = env.root() + QStringLiteral("/not-a-picture.gif");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is text");
    file.close();
    for (const QString &path : { missing, junk }) {
        CAsset asset;
        asset.m_lHomeId = 1;
        asset.m_strPicture = path;
        ASSERT_TRUE(asset.Save(db));
        ui.onNextDialog([&](QDialog &sheet) {
            tabs(sheet).setCurrentIndex(3);
            auto *page = sheet.findChild<CDlgPicture *>();
            ASSERT_NE(page, nullptr);
            EXPECT_TRUE(page->previewRect().isEmpty());
            Fill::click(sheet, "ok");
        });
        ASSERT_TRUE(CAssetSheet::Edit(asset, db, nullptr));
        EXPECT_EQ(stored(asset.id()).m_strPicture, path);
    }
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(QFile::exists(missing));
}

class RecommendMovie : public AssetSheet
{
protected:
    void SetUp() override
    {
        AssetSheet::SetUp();
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        exec("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, MakeModel, "
             "WarrantyExpiration) VALUES (1, 1, 19, 'Casablanca', 'Romance', 15707), "
             "(2, 2, 19, 'Amelie', 'Romance', 37257), (3, 1, 19, 'Alien', 'Horror', 28856);");
    }
    void TearDown() override { resetUserLocale(); }

    static QStringList rows(CAutoListCtrl &list)
    {
        QStringList out;
        for (int row = 0; row < list.GetItemCount(); ++row)
            out << list.GetItemText(row, 0) + QLatin1Char(' ') + list.GetItemText(row, 1);
        return out;
    }
};

TEST_F(RecommendMovie, SearchesEveryHomeForTheGenreLetterForLetter)
{
    CDlgRecommendMovie dialog(db);
    dialog.show();
    auto &genre = *dialog.findChild<QComboBox *>("genre");
    EXPECT_EQ(genre.currentText(), QStringLiteral("Romance"));
    EXPECT_TRUE(genre.isEditable());

    Fill::click(dialog, "search");
    CAutoListCtrl &list = *dialog.list();
    EXPECT_EQ(rows(list), (QStringList { "2002 Amelie", "1943 Casablanca" }));
    EXPECT_EQ(list.GetItemData(0), 2);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("2 title(s) were found!"));
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Information);
    Screenshots::save(dialog, QStringLiteral("recommend_movie"));

    // The year column sorts on a click of its heading.
    list.SortOnColumn(0);
    EXPECT_EQ(rows(list), (QStringList { "1943 Casablanca", "2002 Amelie" }));

    // Typed in lower case and entered with Return (Search is the default button), the genre
    // stays as typed: nothing completes it to the listed "Romance".
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    genre.lineEdit()->setFocus();
    genre.lineEdit()->selectAll();
    QTest::keyClicks(genre.lineEdit(), QStringLiteral("romance"));
    QTest::keyClick(genre.lineEdit(), Qt::Key_Return);
    EXPECT_EQ(genre.currentText(), QStringLiteral("romance"));
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(ui.messages().back().text,
              QStringLiteral("Sorry, there were no movies in the library that match your "
                             "search criteria."));

    Fill::text(dialog, "genre", QString());
    Fill::click(dialog, "search");
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("3 title(s) were found!"));
}

TEST_F(RecommendMovie, ALargeCountIsShownWithDigitGrouping)
{
    CTransaction transaction(db);
    for (int i = 0; i < 1234; ++i) {
        ASSERT_TRUE(db.Execute(
            QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, "
                           "MakeModel) VALUES (%1, 1, 19, 'Title %1', 'Drama');")
                .arg(100 + i)));
    }
    ASSERT_TRUE(transaction.commit());
    CDlgRecommendMovie dialog(db);
    Fill::text(dialog, "genre", QStringLiteral("Drama"));
    dialog.Search();
    EXPECT_EQ(dialog.list()->GetItemCount(), 1234);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("1,234 title(s) were found!"));
}

} // namespace
