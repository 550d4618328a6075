#include "controls/auto_list_ctrl.h"
#include "exchange/export_dialog.h"
#include "platform/busy.h"
#include "records/home.h"
#include "support/data_file_test.h"
#include "support/long_work.h"
#include "support/screenshots.h"
#include "support/scripted_ui.h"
#include "widgets/busy_window.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace {

const QString kCreateError =
    QStringLiteral("I'm afraid there was an error creating that file. Please make sure the file "
                   "is not in use and try again.");

class ExportDialogTest : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        home.m_strDescription = QStringLiteral("Lake house");
        ASSERT_TRUE(home.Save(db));
        run(QStringLiteral("INSERT INTO Assets (AssetId, HomeId, CategoryId, Description) VALUES "
                           "(1, %1, 8, 'Sofa'), (2, %1, 7, 'Radio'), (3, %1, 0, 'Loose box');")
                .arg(home.id()));
    }

    int rowOf(CDlgExport &dialog, const QString &text)
    {
        CAutoListCtrl *list = dialog.categoryList();
        for (int row = 0; row < list->GetItemCount(); ++row) {
            if (list->GetItemText(row, 0) == text)
                return row;
        }
        return -1;
    }

    QString readFile(const QString &path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return QString::fromUtf8(f.readAll());
    }

    void TearDown() override
    {
        longWork.reset();
        Busy::setTiming(500, 100);
        DataFileTest::TearDown();
    }

    void everyExportIsLong() { longWork.emplace(); }

    std::optional<EveryWorkIsLong> longWork;

    ScriptedUi ui;
    CHome home;
};

// A report from last year in dir, as report.csv; its path.
QString olderReport(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("report.csv"));
    QFile old(path);
    EXPECT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("last year's report");
    return path;
}

TEST_F(ExportDialogTest, OpensWithEveryAssetCategoryTickedAndTheButtonsSetThemAll)
{
    CDlgExport dialog(db, home);
    CAutoListCtrl *list = dialog.categoryList();
    ASSERT_EQ(list->GetItemCount(), 19);
    EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("Appliances"));
    EXPECT_EQ(list->GetItemData(rowOf(dialog, QStringLiteral("Videos"))), 19);
    for (int row = 0; row < 19; ++row)
        EXPECT_TRUE(list->GetCheck(row));
    EXPECT_EQ(rowOf(dialog, QStringLiteral("Bills")), -1) << "task categories are not listed";

    ASSERT_TRUE(Fill::click(dialog, QStringLiteral("selectNone")));
    for (int row = 0; row < 19; ++row)
        EXPECT_FALSE(list->GetCheck(row));
    EXPECT_FALSE(dialog.CategoryIncluded(8));
    EXPECT_TRUE(dialog.CategoryIncluded(0));
    EXPECT_TRUE(dialog.CategoryIncluded(21));
    ASSERT_TRUE(Fill::click(dialog, QStringLiteral("selectAll")));
    for (int row = 0; row < 19; ++row)
        EXPECT_TRUE(list->GetCheck(row));

    // The caption's mnemonic leads to the list; every button has its own.
    auto *caption = dialog.findChild<QLabel *>(QStringLiteral("categoriesCaption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->buddy(), list);
    for (const char *name : { "selectAll", "selectNone", "exportData" })
        EXPECT_TRUE(dialog.findChild<QPushButton *>(QLatin1String(name))->text().contains('&'))
            << name;
    EXPECT_TRUE(dialog.findChild<QPushButton *>(QStringLiteral("exportData"))->isDefault());
}

TEST_F(ExportDialogTest, ExportWritesTheTickedCategoriesAndOffersToOpenTheFile)
{
    QTemporaryDir dir;
    // Typed without an extension: the report gets ".csv".
    ui.nextFileName(dir.filePath(QStringLiteral("Lake house Inventory")));
    ui.answer(Ui::Yes);
    CDlgExport dialog(db, home);
    // No progress window installed: even work that counts as long shows nothing and lets no
    // event through while it runs.
    Busy::setTiming(0, 0);
    bool eventsRanDuringExport = false;
    ui.onNextDialog([&](QDialog &d) {
        auto &exportDialog = static_cast<CDlgExport &>(d);
        exportDialog.categoryList()->SetCheck(rowOf(exportDialog, QStringLiteral("Electronics")),
                                              false);
        QTimer::singleShot(0, &d, [&] { eventsRanDuringExport = true; });
        Fill::click(d, QStringLiteral("exportData"));
        EXPECT_FALSE(eventsRanDuringExport);
    });
    ASSERT_EQ(Ui::runModal(dialog), QDialog::Accepted);

    const QString path = dir.filePath(QStringLiteral("Lake house Inventory.csv"));
    EXPECT_EQ(dialog.writtenFile(), path);
    const QString report = readFile(path);
    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().startsWith("\xEF\xBB\xBF\"Home Inventory Report for Lake house\""));
    EXPECT_TRUE(report.contains(QStringLiteral("\"Sofa\"")));
    EXPECT_TRUE(report.contains(QStringLiteral("\"Loose box\"")));
    EXPECT_FALSE(report.contains(QStringLiteral("\"Radio\"")));

    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("\"%1\" has been created.\n\nWould you like to open it now?")
                  .arg(QDir::toNativeSeparators(path)));
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Question);
    EXPECT_EQ(ui.messages()[0].buttons, Ui::Yes | Ui::No);
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Domelio"));
    ASSERT_EQ(ui.openedUrls().size(), 1u);
    EXPECT_EQ(ui.openedUrls()[0], QUrl::fromLocalFile(path));
    EXPECT_GE(ui.waitCursorCount(), 1);
    EXPECT_EQ(ui.waitDepth(), 0);
}

TEST_F(ExportDialogTest, AnsweringNoLeavesTheFileUnopened)
{
    QTemporaryDir dir;
    ui.nextFileName(dir.filePath(QStringLiteral("report.csv")));
    ui.answer(Ui::No);
    CDlgExport dialog(db, home);
    ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("exportData")); });
    EXPECT_EQ(Ui::runModal(dialog), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("report.csv"))));
    EXPECT_TRUE(ui.openedUrls().empty());
}

TEST_F(ExportDialogTest, ACancelledSaveOrAFileThatCannotBeCreatedKeepsTheDialogOpen)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plainfile")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString impossible = dir.filePath(QStringLiteral("plainfile/report.csv"));

    CDlgExport dialog(db, home);
    bool openAfterCancel = false, openAfterError = false;
    ui.onNextDialog([&](QDialog &d) {
        Fill::click(d, QStringLiteral("exportData")); // no file name: the save dialog cancelled
        openAfterCancel = d.isVisible() && ui.messages().empty();
        ui.nextFileName(impossible);
        Fill::click(d, QStringLiteral("exportData"));
        openAfterError = d.isVisible();
    });
    EXPECT_EQ(Ui::runModal(dialog), QDialog::Rejected);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_TRUE(openAfterError);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, kCreateError);
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(ui.messages()[0].caption, QStringLiteral("Domelio"));
    EXPECT_TRUE(dialog.writtenFile().isEmpty());
    EXPECT_TRUE(ui.openedUrls().empty());
}

TEST_F(ExportDialogTest, AnExportThatFailsLeavesTheOlderReportWhole)
{
    QTemporaryDir dir;
    const QString path = olderReport(dir);
    db.Close(); // the report query cannot run
    ui.nextFileName(path);
    CDlgExport dialog(db, home);
    ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("exportData")); });
    EXPECT_EQ(Ui::runModal(dialog), QDialog::Rejected);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.messages()[0].text.startsWith(kCreateError));
    EXPECT_EQ(readFile(path), QStringLiteral("last year's report"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList { QStringLiteral("report.csv") });
}

TEST_F(ExportDialogTest, ALongExportShowsItsProgressAndCancelLeavesTheOlderReportWhole)
{
    QTemporaryDir dir;
    const QString path = olderReport(dir);
    everyExportIsLong();
    ui.nextFileName(path);
    CDlgExport dialog(db, home);
    QString label, windowName, barName, cancelName;
    int barMaximum = -1;
    bool modal = false, openAfterCancel = false;
    ui.onNextDialog([&](QDialog &d) {
        // Runs from the first repaint of the progress window, as a person's click would.
        QTimer::singleShot(0, &d, [&] {
            QProgressDialog *progress = Ui::busyWindow().dialog();
            ASSERT_NE(progress, nullptr);
            label = progress->findChild<QLabel *>(QStringLiteral("busyLabel"))->text();
            // What a screen reader reads: the window by its work, the bar, the button.
            const auto nameOf = [](QObject *object) {
                QAccessibleInterface *read = QAccessible::queryAccessibleInterface(object);
                return read ? read->text(QAccessible::Name) : QString();
            };
            windowName = nameOf(progress);
            auto *bar = progress->findChild<QProgressBar *>(QStringLiteral("busyBar"));
            barName = nameOf(bar);
            barMaximum = bar->maximum();
            auto *cancel = progress->findChild<QPushButton *>(QStringLiteral("busyCancel"));
            ASSERT_NE(cancel, nullptr);
            cancelName = nameOf(cancel);
            modal = progress->isVisible() && progress->isModal();
            Screenshots::save(*progress, QStringLiteral("export_progress"));
            cancel->click();
            EXPECT_FALSE(cancel->isEnabled()) << "pressed once is enough";
        });
        Fill::click(d, QStringLiteral("exportData"));
        openAfterCancel = d.isVisible();
    });
    EXPECT_EQ(Ui::runModal(dialog), QDialog::Rejected);

    EXPECT_EQ(label, QStringLiteral("Exporting the inventory..."));
    EXPECT_EQ(windowName, label);
    EXPECT_FALSE(barName.isEmpty());
    EXPECT_EQ(cancelName, QStringLiteral("Cancel"));
    EXPECT_EQ(barMaximum, 1000) << "the number of rows is known: a bar, not a busy indicator";
    EXPECT_TRUE(modal);
    EXPECT_TRUE(openAfterCancel) << "the dialog stays, as on any other failure";
    EXPECT_EQ(Ui::busyWindow().dialog(), nullptr);

    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("The export was cancelled. No file was written."));
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Information);
    EXPECT_EQ(readFile(path), QStringLiteral("last year's report"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList { QStringLiteral("report.csv") });
    EXPECT_TRUE(dialog.writtenFile().isEmpty());

    // Not cancelled, the same long export writes the report.
    ui.nextFileName(path);
    ui.answer(Ui::No);
    ui.onNextDialog([](QDialog &d) { Fill::click(d, QStringLiteral("exportData")); });
    EXPECT_EQ(Ui::runModal(dialog), QDialog::Accepted);
    EXPECT_TRUE(readFile(path).contains(QStringLiteral("\"Loose box\"")));
    EXPECT_EQ(Ui::busyWindow().dialog(), nullptr);
}

} // namespace
