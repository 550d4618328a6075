// The Attachments page of the asset and home sheets, driven as a person drives it: several files
// chosen at once, files dropped from the file manager, one opened with the desktop's program
// (the desktop's call caught at the Ui seam), saved elsewhere, given another kind, removed, and
// a photo made the picture that the Picture page and the Today view then show.
#include "attachments/attachment_files.h"
#include "controls/auto_list_ctrl.h"
#include "format/display_text.h"
#include "records/asset.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "records/home.h"
#include "sheets/asset_sheet.h"
#include "sheets/home_sheet.h"
#include "support/fake_view_host.h"
#include "support/file_facts.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "views/today_view.h"
#include "widgets/attachment_actions.h"
#include "widgets/attachments_page.h"
#include "widgets/picture_page.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AttachmentsPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.Open(env.dataFile()));
        ASSERT_TRUE(db.Execute(
            QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake house');")));
        ASSERT_TRUE(db.Execute(QStringLiteral(
            "INSERT INTO Assets (AssetId, HomeId, Description, CategoryId) VALUES (10, 1, "
            "'Sofa', 8);")));
    }

    // A real picture of the given size and colour, as a JPEG file.
    QString picture(const QString &name, QSize size, QColor colour)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = files.filePath(name);
        EXPECT_TRUE(image.save(path, "JPG"));
        return path;
    }

    static QTabWidget &tabs(QDialog &sheet) { return *sheet.findChild<QTabWidget *>("pages"); }
    static Attachments::Page &page(QDialog &sheet)
    {
        return *sheet.findChild<Attachments::Page *>();
    }
    static void showAttachments(QDialog &sheet)
    {
        QTabWidget &pages = tabs(sheet);
        pages.setCurrentIndex(pages.count() - 1);
        QApplication::processEvents();
    }
    // The rows as "kind | name".
    static QStringList rows(Attachments::Page &page)
    {
        QStringList texts;
        CAutoListCtrl &list = *page.list();
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts << list.GetItemText(row, 0) + QStringLiteral(" | ") + list.GetItemText(row, 1);
        return texts;
    }
    static void select(Attachments::Page &page, const QString &name)
    {
        CAutoListCtrl &list = *page.list();
        for (int row = 0; row < list.GetItemCount(); ++row) {
            if (list.GetItemText(row, 1) == name) {
                list.SetCurSel(row);
                return;
            }
        }
        ADD_FAILURE() << "no row " << name.toStdString();
    }
    static void drop(QWidget &target, const QList<QUrl> &urls, bool *accepted)
    {
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint at = target.rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        *accepted = enter.isAccepted();
        if (!enter.isAccepted())
            return;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &dropped);
    }

    std::vector<Attachments::Attachment> stored(qint32 asset = 10)
    {
        return Attachments::list(db, 1, asset);
    }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
    QTemporaryDir files;
};

TEST_F(AttachmentsPage, FilesAddedAtOnceOrDroppedComeBackOutWholeFromOpenAndSaveAs)
{
    const QString till = picture(QStringLiteral("till receipt.jpg"), { 80, 200 }, Qt::white);
    const QString front = picture(QStringLiteral("front.jpg"), { 160, 120 }, Qt::darkGreen);
    const QString manual =
        AttachmentFiles::write(files.path(), QStringLiteral("Руководство manual.pdf"), 700000, 3);
    const QString plate = picture(QStringLiteral("serial plate.jpg"), { 90, 40 }, Qt::gray);
    const QString warranty =
        AttachmentFiles::write(files.path(), QStringLiteral("warranty card.pdf"), 2000, 4);
    const QString folder = files.filePath(QStringLiteral("scans"));
    ASSERT_TRUE(QDir().mkpath(folder));
    QString copyOpened;
    const QString savedTo = files.filePath(QStringLiteral("elsewhere/kept manual.pdf"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(savedTo).path()));

    ui.nextFileNames({ till, front, manual });
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(tabs(sheet).tabText(tabs(sheet).count() - 1), QStringLiteral("Attachments"));
        showAttachments(sheet);
        Attachments::Page &p = page(sheet);
        EXPECT_FALSE(sheet.findChild<QPushButton *>("openAttachment")->isEnabled());
        // Add: three files chosen at once, their kinds guessed.
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("addAttachments")));
        EXPECT_EQ(rows(p),
                  (QStringList { QStringLiteral("Photo | front.jpg"),
                                 QStringLiteral("Receipt | till receipt.jpg"),
                                 QStringLiteral("Manual | Руководство manual.pdf") }));
        EXPECT_EQ(p.list()->GetItemText(2, 2), QStringLiteral("700.0 kB"));
        EXPECT_EQ(p.list()->GetItemText(2, 3),
                  dateText(COleDateTime::fromDate(QDate::currentDate()), false));
        EXPECT_TRUE(ui.messages().empty());

        // Dropped from the file manager: two files and a folder; the folder is refused.
        bool accepted = false;
        drop(*p.list()->viewport(),
             { QUrl::fromLocalFile(plate), QUrl::fromLocalFile(folder),
               QUrl::fromLocalFile(warranty) },
             &accepted);
        EXPECT_TRUE(accepted);
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("2 of 3 files were attached.\n\n\u201Cscans\u201D is a folder. "
                                 "Only files can be attached: choose the files in it."));
        // Text and web addresses are not files to attach.
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(p.list()->viewport(), &enter);
        EXPECT_FALSE(enter.isAccepted());
        drop(*p.list()->viewport(), { QUrl(QStringLiteral("https://example.org/a.pdf")) },
             &accepted);
        EXPECT_FALSE(accepted);
        EXPECT_EQ(p.list()->GetItemCount(), 5);
        EXPECT_EQ(p.selected()->fileName, QStringLiteral("warranty card.pdf"));
        Screenshots::save(sheet, QStringLiteral("asset_attachments"));
        // Every control has a name a screen reader can say; every mnemonic is the page's only.
        QStringList mnemonics;
        for (QWidget *control : p.findChildren<QWidget *>()) {
            if (!control->isVisibleTo(&p) || control->focusPolicy() == Qt::NoFocus
                || control->parentWidget() != &p)
                continue;
            QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(reader, nullptr);
            EXPECT_FALSE(reader->text(QAccessible::Name).isEmpty())
                << control->metaObject()->className() << " " << control->objectName().toStdString();
        }
        for (QObject *labelled : p.children()) {
            QString text;
            if (auto *button = qobject_cast<QPushButton *>(labelled))
                text = button->text();
            else if (auto *label = qobject_cast<QLabel *>(labelled))
                text = label->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            if (at >= 0 && at + 1 < text.size())
                mnemonics << text.mid(at + 1, 1).toLower();
        }
        EXPECT_EQ(mnemonics.size(), 6);
        EXPECT_EQ(QSet<QString>(mnemonics.begin(), mnemonics.end()).size(), mnemonics.size())
            << mnemonics.join(QLatin1Char(' ')).toStdString();

        // Open: the desktop gets a read-only copy in a private folder, the same bytes.
        select(p, QStringLiteral("Руководство manual.pdf"));
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("openAttachment")));
        ASSERT_EQ(ui.openedUrls().size(), 1u);
        copyOpened = ui.openedUrls().back().toLocalFile();
        EXPECT_EQ(QFileInfo(copyOpened).fileName(), QStringLiteral("Руководство manual.pdf"));
        EXPECT_EQ(modeOf(copyOpened), mode_t(0400));
        EXPECT_TRUE(copyOpened.startsWith(Attachments::openedCopiesFolder() + QLatin1Char('/')));
        EXPECT_EQ(modeOf(Attachments::openedCopiesFolder()), mode_t(0700));
        EXPECT_EQ(AttachmentFiles::hashOf(copyOpened), AttachmentFiles::hashOf(manual));

        // Save As: where the person chooses, the same bytes.
        ui.nextFileName(savedTo);
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("saveAttachment")));
        EXPECT_EQ(AttachmentFiles::hashOf(savedTo), AttachmentFiles::hashOf(manual));

        // Another kind, chosen for the selected file.
        select(p, QStringLiteral("serial plate.jpg"));
        auto *kind = sheet.findChild<QComboBox *>("attachmentKind");
        EXPECT_EQ(kind->currentText(), QStringLiteral("Photo"));
        const int other = kind->findText(QStringLiteral("Other"));
        kind->setCurrentIndex(other);
        emit kind->activated(other);
        EXPECT_EQ(p.selected()->fileName, QStringLiteral("serial plate.jpg"));
        EXPECT_EQ(p.selected()->kind, Attachments::Kind::Other);

        // Remove asks first; No keeps the file.
        select(p, QStringLiteral("till receipt.jpg"));
        ui.answer(Ui::No);
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("removeAttachment")));
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("\u201Ctill receipt.jpg\u201D will be removed from the data "
                                 "file. Continue?"));
        EXPECT_EQ(p.list()->GetItemCount(), 5);
        ui.answer(Ui::Yes);
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("removeAttachment")));
        EXPECT_EQ(p.list()->GetItemCount(), 4);
        // Cancelled, the sheet keeps what the page did: it was saved at once.
        Fill::click(sheet, QStringLiteral("cancel"));
    });
    CAsset sofa(10);
    ASSERT_TRUE(sofa.Load(db));
    EXPECT_FALSE(CAssetSheet::Edit(sofa, db, nullptr));
    EXPECT_EQ(ui.pendingScripts(), 0);

    QStringList names;
    for (const Attachments::Attachment &a : stored())
        names << Attachments::kindName(a.kind) + QLatin1Char(' ') + a.fileName;
    EXPECT_EQ(names,
              (QStringList { QStringLiteral("Photo front.jpg"),
                             QStringLiteral("Manual Руководство manual.pdf"),
                             QStringLiteral("Warranty warranty card.pdf"),
                             QStringLiteral("Other serial plate.jpg") }));
    // The copy opened is still there for the viewer; it goes when the program ends.
    EXPECT_TRUE(QFileInfo::exists(copyOpened));
}

TEST_F(AttachmentsPage, APhotoUsedAsPictureIsWhatThePicturePageShowsAndOpens)
{
    const QString front = picture(QStringLiteral("front.jpg"), { 160, 120 }, Qt::darkGreen);
    const QString path = picture(QStringLiteral("old path.jpg"), { 40, 30 }, Qt::red);
    ASSERT_TRUE(
        db.Execute(QStringLiteral("UPDATE Assets SET Picture2='%1' WHERE AssetId=10;").arg(path)));
    const auto added = Attachments::add(db, front, 1, 10);
    ASSERT_EQ(added.problem, Attachments::Problem::None);
    const QString manual =
        AttachmentFiles::write(files.path(), QStringLiteral("manual.pdf"), 5000, 5);
    ASSERT_EQ(Attachments::add(db, manual, 1, 10).problem, Attachments::Problem::None);

    ui.onNextDialog([&](QDialog &sheet) {
        auto &picturePage = *sheet.findChild<CDlgPicture *>();
        tabs(sheet).setCurrentIndex(3);
        QApplication::processEvents();
        // Before: the file the path names.
        EXPECT_FALSE(picturePage.storedPicture());
        EXPECT_EQ(picturePage.previewRect().size(), QSize(40, 30));
        EXPECT_FALSE(sheet.findChild<QLabel *>("storedPicture")->isVisible());

        showAttachments(sheet);
        Attachments::Page &p = page(sheet);
        auto *use = sheet.findChild<QPushButton *>("useAsPicture");
        select(p, QStringLiteral("manual.pdf"));
        EXPECT_FALSE(use->isEnabled()); // not a picture
        select(p, QStringLiteral("front.jpg"));
        EXPECT_TRUE(use->isEnabled());
        EXPECT_FALSE(use->isChecked());
        use->click();
        EXPECT_TRUE(use->isChecked());
        EXPECT_EQ(p.list()->GetItemText(p.list()->GetCurSel(), 0),
                  QStringLiteral("Photo (picture)"));

        tabs(sheet).setCurrentIndex(3);
        QApplication::processEvents();
        ASSERT_TRUE(picturePage.storedPicture());
        EXPECT_EQ(picturePage.storedPicture()->id, added.id);
        EXPECT_EQ(picturePage.previewRect().size(), QSize(160, 120));
        auto *line = sheet.findChild<QLabel *>("storedPicture");
        EXPECT_TRUE(line->isVisible());
        EXPECT_TRUE(line->text().startsWith(QStringLiteral("Shown from the data file: front.jpg")));
        Screenshots::save(sheet, QStringLiteral("asset_picture_stored"));
        // View opens the picture kept in the data file.
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("view")));
        ASSERT_EQ(ui.openedUrls().size(), 1u);
        EXPECT_EQ(AttachmentFiles::hashOf(ui.openedUrls().back().toLocalFile()),
                  AttachmentFiles::hashOf(front));

        // Given up again on the Attachments page: the path's picture is back.
        showAttachments(sheet);
        use->click();
        tabs(sheet).setCurrentIndex(3);
        QApplication::processEvents();
        EXPECT_FALSE(picturePage.storedPicture());
        EXPECT_EQ(picturePage.previewRect().size(), QSize(40, 30));
        use->click(); // and chosen once more before OK
        Fill::click(sheet, QStringLiteral("ok"));
    });
    CAsset sofa(10);
    ASSERT_TRUE(sofa.Load(db));
    ASSERT_TRUE(CAssetSheet::Edit(sofa, db, nullptr));
    // The path stays for the handheld, which shares it; the picture is marked beside it.
    CAsset saved(10);
    ASSERT_TRUE(saved.Load(db));
    EXPECT_EQ(saved.m_strPicture, path);
    EXPECT_EQ(Attachments::pictureOf(db, 1, 10)->id, added.id);
}

TEST_F(AttachmentsPage, ANewRecordOffersItsAttachmentsOnceSaved)
{
    ui.onNextDialog([&](QDialog &sheet) {
        showAttachments(sheet);
        Attachments::Page &p = page(sheet);
        EXPECT_FALSE(p.list()->isEnabled());
        for (const char *button : { "addAttachments", "openAttachment", "saveAttachment",
                                    "removeAttachment", "useAsPicture" })
            EXPECT_FALSE(sheet.findChild<QPushButton *>(button)->isEnabled()) << button;
        EXPECT_EQ(Fill::textOf(sheet, QStringLiteral("attachmentsNote")),
                  QStringLiteral("Files can be attached once the asset has been saved: choose "
                                 "OK, then open the asset again."));
        // A drop is refused as well.
        bool accepted = true;
        drop(*p.list()->viewport(), { QUrl::fromLocalFile(env.dataFile()) }, &accepted);
        EXPECT_FALSE(accepted);
        Fill::click(sheet, QStringLiteral("cancel"));
    });
    CAsset fresh;
    fresh.m_lHomeId = 1;
    EXPECT_FALSE(CAssetSheet::Edit(fresh, db, nullptr));
    EXPECT_EQ(Attachments::listOfHome(db, 1).size(), 0u);
}

TEST_F(AttachmentsPage, TheHomesPapersAndItsPictureOnTheTodayView)
{
    const QString house = picture(QStringLiteral("house.jpg"), { 123, 77 }, Qt::blue);
    const QString deed = AttachmentFiles::write(files.path(), QStringLiteral("deed.pdf"), 40000, 6);
    ui.nextFileNames({ deed, house });
    ui.onNextDialog([&](QDialog &sheet) {
        showAttachments(sheet);
        Attachments::Page &p = page(sheet);
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("addAttachments")));
        ASSERT_EQ(p.list()->GetItemCount(), 2);
        select(p, QStringLiteral("house.jpg"));
        Fill::click(sheet, QStringLiteral("useAsPicture"));
        Screenshots::save(sheet, QStringLiteral("home_attachments"));
        Fill::click(sheet, QStringLiteral("ok"));
    });
    CHome home(1);
    ASSERT_TRUE(home.Load(db));
    ASSERT_TRUE(CHomeSheet::Edit(home, db, nullptr));
    const auto papers = Attachments::list(db, 1, Attachments::kHomeItself);
    ASSERT_EQ(papers.size(), 2u);

    // The Today view shows the picture from the data file (the home has no picture path).
    FakeViewHost host;
    ASSERT_TRUE(host.db.Execute(
        QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Lake house');")));
    ASSERT_EQ(Attachments::add(host.db, house, 1, Attachments::kHomeItself).problem,
              Attachments::Problem::None);
    ASSERT_TRUE(
        Attachments::setPicture(host.db, Attachments::list(host.db, 1, 0).front().id, true));
    ASSERT_TRUE(host.SetCurrentHome(1));
    CTodayView today(host, &host.window);
    today.setDefaultPicturePath(QString());
    today.resize(640, 480);
    today.LoadPicture();
    EXPECT_TRUE(today.hasPicture());
    EXPECT_EQ(today.pictureRect().size(),
              CTodayView::PictureRect({ 123, 77 }, today.size()).size());
}

} // namespace
