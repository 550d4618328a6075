// The Home Inventory with attachments: a paper-clip on the assets that have any (read to a screen
// reader as "3 attachments"), a picture kept in the data file counted as a picture, and the
// search finding an asset by the name of one of its files.
#include "attachments/attachment_files.h"
#include "controls/auto_list_ctrl.h"
#include "records/attachment_store.h"
#include "records/attachments.h"
#include "support/fake_view_host.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "views/inventory_view.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class InventoryAttachments : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.db.Execute(QStringLiteral(
            "INSERT INTO Homes (HomeId, Description) VALUES (1, 'Main'), (2, 'Cabin');")));
        ASSERT_TRUE(host.db.Execute(QStringLiteral(
            "INSERT INTO Assets (AssetId, HomeId, CategoryId, Description, Picture2) VALUES "
            "(1, 1, 8, 'Sofa', NULL), (2, 1, 8, 'Armchair', '/p/chair.jpg'), "
            "(3, 1, 19, 'Casablanca', NULL), (4, 1, 0, 'Lamp', NULL), "
            "(5, 1, 0, 'Drill', NULL), (6, 2, 8, 'Bench', NULL);")));
        attach(1, QStringLiteral("sofa front.jpg"));
        attach(1, QStringLiteral("sofa back.jpg"));
        attach(1, QStringLiteral("Möbelhaus Quittung.pdf"));
        attach(2, QStringLiteral("armchair.pdf"));
        attach(3, QStringLiteral("dvd receipt.pdf"));
        const qint64 drill = attach(5, QStringLiteral("drill.jpg"));
        ASSERT_TRUE(Attachments::setPicture(host.db, drill, true));
        attach(Attachments::kHomeItself, QStringLiteral("deed.pdf"));
        host.SetCurrentHome(1);
        view = new CInventoryView(host, &host.window);
        view->resize(host.window.size());
        host.window.show();
        view->show();
        view->Refresh(0);
        QApplication::processEvents();
    }

    qint64 attach(qint32 asset, const QString &name)
    {
        const QString path = AttachmentFiles::write(files.path(), name, 3000);
        const auto added = Attachments::add(host.db, path, asset == 6 ? 2 : 1, asset);
        EXPECT_EQ(added.problem, Attachments::Problem::None);
        return added.id;
    }

    int rowOf(const QString &text) const
    {
        for (int row = 0; row < view->list()->GetItemCount(); ++row) {
            if (view->list()->GetItemText(row, 0) == text)
                return row;
        }
        return -1;
    }

    QTemporaryDir files;
    FakeViewHost host;
    ScriptedUi ui;
    CInventoryView *view = nullptr;
};

TEST_F(InventoryAttachments, APaperClipMarksTheAssetsWithFilesAndTheReaderHearsHowMany)
{
    const int clip = CInventoryView::kWithAttachments;
    const struct
    {
        const char *asset;
        int image;
        const char *spoken;
    } expected[] = {
        { "Sofa", 0 + clip, "Sofa, 3 attachments" },
        { "Armchair", 1 + clip, "Armchair, 1 attachment" },
        { "Casablanca", 2 + clip, "Casablanca, 1 attachment" },
        { "Lamp", 0, "Lamp" },
        // Its picture is kept in the data file: a picture all the same.
        { "Drill", 1 + clip, "Drill, 1 attachment" },
    };
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(view->list());
    ASSERT_NE(list, nullptr);
    QAccessibleTableInterface *table = list->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), view->list()->GetItemCount());
    for (const auto &e : expected) {
        SCOPED_TRACE(e.asset);
        const int row = rowOf(QString::fromUtf8(e.asset));
        ASSERT_GE(row, 0);
        EXPECT_EQ(view->list()->GetItemImage(row), e.image);
        QAccessibleInterface *cell = table->cellAt(row, 0);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(QAccessible::Name), QString::fromUtf8(e.spoken));
    }
    const QList<QPixmap> images = CInventoryView::smallImages();
    ASSERT_EQ(images.size(), 6);
    Screenshots::save(host.window, QStringLiteral("inventory_paperclips"));
    // The six images eight times their size, to look at.
    QPixmap sheet(6 * 136, 136);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < images.size(); ++i)
        painter.drawPixmap(QRect(i * 136 + 4, 4, 128, 128), images[i]);
    painter.end();
    Screenshots::save(sheet, QStringLiteral("inventory_images"));

    // A file added elsewhere shows at the next refresh; removed, the clip goes.
    for (const Attachments::Attachment &a : Attachments::list(host.db, 1, 1))
        ASSERT_TRUE(Attachments::remove(host.db, a.id));
    view->Refresh(0);
    QApplication::processEvents(); // the list lays its rows out again
    EXPECT_EQ(view->list()->GetItemImage(rowOf(QStringLiteral("Sofa"))), 0);
    EXPECT_EQ(table->cellAt(rowOf(QStringLiteral("Sofa")), 0)->text(QAccessible::Name),
              QStringLiteral("Sofa"));
}

TEST_F(InventoryAttachments, FilesAddedInASheetThatIsThenCancelledStillShowTheirClip)
{
    const int lamp = rowOf(QStringLiteral("Lamp"));
    ASSERT_EQ(view->list()->GetItemImage(lamp), 0);
    ui.nextFileNames({ AttachmentFiles::write(files.path(), QStringLiteral("lamp.pdf"), 900) });
    ui.onNextDialog([&](QDialog &sheet) {
        auto *pages = sheet.findChild<QTabWidget *>("pages");
        pages->setCurrentIndex(pages->count() - 1);
        ASSERT_TRUE(Fill::click(sheet, QStringLiteral("addAttachments")));
        Fill::click(sheet, QStringLiteral("cancel"));
    });
    view->list()->SetCurSel(lamp);
    view->EditSelected();
    QApplication::processEvents();
    EXPECT_EQ(view->list()->GetItemImage(rowOf(QStringLiteral("Lamp"))),
              CInventoryView::kWithAttachments);
}

TEST_F(InventoryAttachments, TheSearchFindsAnAssetByTheNameOfItsFiles)
{
    QLineEdit *search = view->searchBox();
    search->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(search, QStringLiteral("quittung"));
    ASSERT_EQ(view->list()->GetItemCount(), 1);
    EXPECT_EQ(view->list()->GetItemText(0, 0), QStringLiteral("Sofa"));
    search->clear();
    // Accents aside, several words across the asset's own texts and its files' names.
    QTest::keyClicks(search, QStringLiteral("mobelhaus sofa"));
    ASSERT_EQ(view->list()->GetItemCount(), 1);
    search->clear();
    QTest::keyClicks(search, QStringLiteral("receipt"));
    ASSERT_EQ(view->list()->GetItemCount(), 1);
    EXPECT_EQ(view->list()->GetItemText(0, 0), QStringLiteral("Casablanca"));
    // The home's own papers belong to no asset.
    search->clear();
    QTest::keyClicks(search, QStringLiteral("deed"));
    EXPECT_EQ(view->list()->GetItemCount(), 0);
}

} // namespace
