#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "records/home.h"
#include "sheets/home_sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"
#include "widgets/picture_page.h"
#include "widgets/property_sheet.h"

#include <QDialog>
#include <QImage>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

class HomeSheet : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(db.Open(env.dataFile())); }

    int homeCount()
    {
        CADORecordset rs(db);
        EXPECT_TRUE(rs.Open(QStringLiteral("SELECT COUNT(*) FROM Homes;")));
        qint32 n = -1;
        rs.GetLong(0, n);
        return n;
    }

    static QTabWidget &tabs(QDialog &sheet) { return *sheet.findChild<QTabWidget *>("pages"); }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
};

TEST_F(HomeSheet, AnEmptyDescriptionKeepsTheFirstPage)
{
    const QString refusal = QStringLiteral("Please enter a description for this home.");
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Home Profile"));
        // Details, Picture, Notes, Attachments: no loans for a new home
        ASSERT_EQ(tabs(sheet).count(), 4);
        EXPECT_EQ(tabs(sheet).tabText(0), QStringLiteral("Details"));

        tabs(sheet).setCurrentIndex(2);
        EXPECT_EQ(tabs(sheet).currentIndex(), 0);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages().back().text, refusal);
        EXPECT_EQ(ui.messages().back().caption, QStringLiteral("Domelio"));
        EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Information);

        Fill::text(sheet, "description", QStringLiteral("   "));
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(ui.messages().size(), 2u);
        EXPECT_EQ(tabs(sheet).currentIndex(), 0);
    });
    CHome home;
    EXPECT_FALSE(CHomeSheet::Edit(home, db, nullptr));
    EXPECT_EQ(homeCount(), 0);
}

TEST_F(HomeSheet, ValueMustReadAsADecimalNumber)
{
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Town flat"));
        Fill::text(sheet, "currentValue", QStringLiteral("12,50"));
        tabs(sheet).setCurrentIndex(1);
        EXPECT_EQ(tabs(sheet).currentIndex(), 0);
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_EQ(ui.messages().size(), 2u);
        EXPECT_EQ(ui.messages().back().text, QStringLiteral("Please enter a number."));

        // An emptied field is not a value of 0: it is refused like any other non-number.
        Fill::text(sheet, "currentValue", QString());
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_EQ(ui.messages().size(), 3u);
        EXPECT_EQ(ui.messages().back().text, QStringLiteral("Please enter a number."));

        Fill::text(sheet, "currentValue", QStringLiteral("1e3"));
        Fill::text(sheet, "address", QStringLiteral("2 High St\nFlat 4"));
        Fill::click(sheet, "ok");
        EXPECT_FALSE(sheet.isVisible());
    });
    CHome home;
    ASSERT_TRUE(CHomeSheet::Edit(home, db, nullptr));
    ASSERT_TRUE(home.Exists());

    CHome stored(home.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_strDescription, QStringLiteral("Town flat"));
    EXPECT_EQ(stored.m_fCurrentValue, 1000.0f);
    EXPECT_EQ(stored.m_strAddress, QStringLiteral("2 High St\nFlat 4"));

    // The stored value comes back in the edit in its short form.
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "currentValue"), QStringLiteral("1000"));
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Town flat"));
    });
    EXPECT_FALSE(CHomeSheet::Edit(stored, db, nullptr));
}

TEST_F(HomeSheet, AValueShownInShortFormIsNotRoundedByOk)
{
    CHome home;
    home.m_strDescription = QStringLiteral("Manor");
    home.m_fCurrentValue = 1234567.0f;
    ASSERT_TRUE(home.Save(db));
    CHome edited(home.id());
    ASSERT_TRUE(edited.Load(db));
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "currentValue"), QStringLiteral("1.23457e+06"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CHomeSheet::Edit(edited, db, nullptr));
    CHome stored(home.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_fCurrentValue, 1234567.0f);

    // Typing the short form is a change like any other.
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "currentValue", QStringLiteral("2e+06"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CHomeSheet::Edit(stored, db, nullptr));
    CHome again(home.id());
    ASSERT_TRUE(again.Load(db));
    EXPECT_EQ(again.m_fCurrentValue, 2000000.0f);
}

TEST_F(HomeSheet, CancelStoresNothingAndLeavesTheRecordAlone)
{
    CHome home;
    home.m_strDescription = QStringLiteral("Before");
    ASSERT_TRUE(home.Save(db));
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("After"));
        Fill::text(sheet, "notes", QStringLiteral("typed"));
        Fill::click(sheet, "cancel");
    });
    EXPECT_FALSE(CHomeSheet::Edit(home, db, nullptr));
    EXPECT_EQ(home.m_strDescription, QStringLiteral("Before"));
    CHome stored(home.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_strDescription, QStringLiteral("Before"));
    EXPECT_TRUE(stored.m_strNotes.isEmpty());
}

TEST_F(HomeSheet, AFailedSaveKeepsTheSheetAndTheInput)
{
    ASSERT_TRUE(db.Execute(QStringLiteral("DELETE FROM TableIds WHERE TableName='Homes';")));
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Cottage"));
        tabs(sheet).setCurrentIndex(2);
        Fill::text(sheet, "notes", QStringLiteral("Thatched roof"));
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Warning);
        EXPECT_EQ(homeCount(), 0);
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Cottage"));
        EXPECT_EQ(Fill::textOf(sheet, "notes"), QStringLiteral("Thatched roof"));

        // Once ids can be had again, the same input is saved.
        ASSERT_TRUE(db.Execute(QStringLiteral("INSERT INTO TableIds VALUES ('Homes', 5);")));
        Fill::click(sheet, "ok");
        EXPECT_FALSE(sheet.isVisible());
    });
    CHome home;
    ASSERT_TRUE(CHomeSheet::Edit(home, db, nullptr));
    EXPECT_EQ(home.id(), 5);
    EXPECT_EQ(home.m_strNotes, QStringLiteral("Thatched roof"));
    EXPECT_EQ(homeCount(), 1);
}

TEST_F(HomeSheet, PicturePageBrowsesViewsAndPreviews)
{
    const QString picture = env.root() + QStringLiteral("/porch.bmp");
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture, "BMP"));
    const QString notAPicture = env.root() + QStringLiteral("/notes.gif");
    {
        QFile file(notAPicture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }

    ui.nextFileName(picture);
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Porch"));
        tabs(sheet).setCurrentIndex(1);
        auto *page = sheet.findChild<CDlgPicture *>();
        ASSERT_NE(page, nullptr);

        Fill::click(sheet, "view");
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Please select a picture first."));
        EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("View Picture"));
        EXPECT_TRUE(ui.openedUrls().empty());

        Fill::click(sheet, "browse");
        EXPECT_EQ(Fill::textOf(sheet, "picturePath"), picture);
        EXPECT_FALSE(page->previewRect().isEmpty());

        // A typed path is not previewed until the next refresh; a file that does not decode
        // shows nothing, and View still hands the path on unchanged.
        Fill::text(sheet, "picturePath", notAPicture);
        EXPECT_FALSE(page->previewRect().isEmpty());
        page->RefreshPreview();
        EXPECT_TRUE(page->previewRect().isEmpty());
        Fill::click(sheet, "view");
        ASSERT_EQ(ui.openedUrls().size(), 1u);
        EXPECT_EQ(ui.openedUrls()[0].toLocalFile(), notAPicture);
        Fill::click(sheet, "ok");
    });
    CHome home;
    ASSERT_TRUE(CHomeSheet::Edit(home, db, nullptr));
    EXPECT_EQ(home.m_strPicture, notAPicture);
}

TEST(PicturePreview, PlacesPicturesBelowTheButtonRow)
{
    const QSize page(400, 300);
    // Bigger than the page: squeezed into the room below the row, 3 pixels from the edges.
    EXPECT_EQ(CDlgPicture::previewRectFor(page, QSize(1000, 800)),
              QRect(QPoint(3, 33), QPoint(396, 296)));
    // Taller only: full width, squeezed height.
    EXPECT_EQ(CDlgPicture::previewRectFor(page, QSize(120, 500)),
              QRect(QPoint(3, 33), QSize(120, 264)));
    // Smaller: its own size, not shortened by the row above it.
    EXPECT_EQ(CDlgPicture::previewRectFor(page, QSize(120, 80)),
              QRect(QPoint(3, 33), QSize(120, 80)));
    EXPECT_EQ(CDlgPicture::previewRectFor(page, QSize(100, 20)),
              QRect(QPoint(3, 33), QSize(100, 20)));
    // Nothing to draw, or no room for it.
    EXPECT_TRUE(CDlgPicture::previewRectFor(page, QSize(0, 0)).isEmpty());
    EXPECT_TRUE(CDlgPicture::previewRectFor(QSize(5, 20), QSize(50, 50)).isEmpty());
}

} // namespace
