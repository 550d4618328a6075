#include "app/command_ids.h"
#include "app/frame_fixture.h"
#include "controls/auto_list_ctrl.h"
#include "exchange/backup_dialog.h"
#include "exchange/backup_restore.h"
#include "exchange/export_dialog.h"
#include "platform/busy.h"
#include "support/file_facts.h"
#include "support/integrity.h"
#include "support/screenshots.h"
#include "views/home_mgr_view.h"
#include "widgets/busy_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The whole program with two homes, the second one current.
class BackupRestoreCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        run.seedHomes({ { 1, QStringLiteral("Cabin") }, { 2, QStringLiteral("Villa") } });
        run.writeSetting(QStringLiteral("LastHomeId"), 2);
        frame = &run.start();
        ASSERT_EQ(frame->currentHomeId(), 2);
        backupDir = run.env.root() + QStringLiteral("/backups");
        QDir().mkpath(backupDir);
    }

    void TearDown() override { Busy::setTiming(500, 100); }

    void openDialogAnd(const std::function<void(QDialog &)> &script)
    {
        run.ui.onNextDialog(script);
        frame->action(Command::BackupRestore)->trigger();
    }

    qint32 count(const QString &sql)
    {
        CADORecordset rs(run.app->database());
        EXPECT_TRUE(rs.Open(sql));
        qint32 n = -1;
        rs.GetLong(0, n);
        return n;
    }

    ProgramRun run;
    CMainFrame *frame = nullptr;
    QString backupDir;
};

TEST_F(BackupRestoreCommand, BackupThenRestoreShowsTheHomesViewWithNoCurrentHome)
{
    const QString backup = backupDir + QStringLiteral("/Domelio Backup.dat");
    run.ui.nextFileName(backupDir + QStringLiteral("/Domelio Backup")); // ".dat" is added
    openDialogAnd([](QDialog &d) { Fill::click(d, QStringLiteral("backup")); });
    ASSERT_EQ(run.ui.messages().size(), 1u);
    EXPECT_EQ(run.ui.messages()[0].text,
              QStringLiteral("Your data was successfully backed up to \"%1\".")
                  .arg(QDir::toNativeSeparators(backup)));
    EXPECT_EQ(run.ui.messages()[0].icon, Ui::Icon::Information);
    EXPECT_EQ(run.ui.messages()[0].caption, QStringLiteral("Domelio"));
    ASSERT_TRUE(QFile::exists(backup));
    EXPECT_EQ(frame->currentHomeId(), 2) << "a backup changes nothing in the program";

    // Changes after the backup, which the restore takes back.
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral("DELETE FROM Homes WHERE HomeId=1;")));
    run.ui.nextFileName(backup);
    run.ui.answer(Ui::Yes);
    openDialogAnd([](QDialog &d) { Fill::click(d, QStringLiteral("restore")); });

    ASSERT_EQ(run.ui.messages().size(), 3u);
    EXPECT_EQ(run.ui.messages()[1].text,
              QStringLiteral("Would you like to proceed with the Restore? Your current data will "
                             "be overwritten."));
    EXPECT_EQ(run.ui.messages()[1].icon, Ui::Icon::Question);
    EXPECT_EQ(run.ui.messages()[1].buttons, Ui::Yes | Ui::No);
    EXPECT_EQ(run.ui.messages()[2].text, QStringLiteral("Your data was successfully restored."));
    EXPECT_EQ(run.ui.messages()[2].icon, Ui::Icon::Information);

    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Homes;")), 2);
    EXPECT_EQ(frame->currentViewIndex(), CMainFrame::HomesIndex);
    EXPECT_LT(frame->currentHomeId(), 1) << "even though the restored data holds the home";
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Domelio"));
    EXPECT_EQ(frame->homesView()->list()->GetItemCount(), 2);
    EXPECT_EQ(run.ui.waitDepth(), 0);
}

TEST_F(BackupRestoreCommand, ARestoreCancelledWhileTheBackupIsCheckedChangesNothing)
{
    const QString backup = backupDir + QStringLiteral("/Domelio Backup.dat");
    run.ui.nextFileName(backup);
    openDialogAnd([](QDialog &d) { Fill::click(d, QStringLiteral("backup")); });
    ASSERT_TRUE(QFile::exists(backup));
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral("DELETE FROM Homes WHERE HomeId=1;")));

    // Every piece of labelled work counts as long: the program's progress window shows at once
    // and a press of its Cancel is taken at the next step.
    Busy::setTiming(0, 0);
    QString label;
    bool modal = false;
    run.ui.nextFileName(backup);
    run.ui.answer(Ui::Yes);
    openDialogAnd([&](QDialog &d) {
        QTimer::singleShot(0, &d, [&] {
            QWidget *window = QApplication::activeModalWidget();
            auto *progress = qobject_cast<QProgressDialog *>(window);
            ASSERT_NE(progress, nullptr);
            modal = progress->isModal();
            label = progress->findChild<QLabel *>(QStringLiteral("busyLabel"))->text();
            progress->findChild<QPushButton *>(QStringLiteral("busyCancel"))->click();
        });
        Fill::click(d, QStringLiteral("restore"));
    });

    EXPECT_EQ(label, QStringLiteral("Checking the backup..."));
    EXPECT_TRUE(modal);
    ASSERT_EQ(run.ui.messages().size(), 3u);
    EXPECT_EQ(run.ui.messages()[2].text,
              QStringLiteral("The restore was cancelled. Your current data has not been "
                             "changed."));
    EXPECT_EQ(run.ui.messages()[2].icon, Ui::Icon::Information);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Homes;")), 1);
    EXPECT_EQ(frame->currentHomeId(), 2) << "nothing was reloaded";
    const QFileInfo dataFile(run.app->database().GetDataSource());
    EXPECT_EQ(QDir(dataFile.absolutePath())
                  .entryList({ QLatin1Char('.') + dataFile.fileName() + QStringLiteral("*") },
                             QDir::Files | QDir::Hidden),
              QStringList())
        << "the copy that was being checked is gone";
}

TEST_F(BackupRestoreCommand, CancelledChoicesAndNoKeepTheDialogOpen)
{
    bool open[3] = {};
    openDialogAnd([&](QDialog &d) {
        Fill::click(d, QStringLiteral("backup")); // save dialog cancelled
        open[0] = d.isVisible();
        Fill::click(d, QStringLiteral("restore")); // open dialog cancelled
        open[1] = d.isVisible();
        run.ui.nextFileName(backupDir + QStringLiteral("/old.dat"));
        run.ui.answer(Ui::No);
        Fill::click(d, QStringLiteral("restore"));
        open[2] = d.isVisible();
    });
    EXPECT_TRUE(open[0] && open[1] && open[2]);
    ASSERT_EQ(run.ui.messages().size(), 1u); // the restore question only
    EXPECT_EQ(frame->currentHomeId(), 2);
}

TEST_F(BackupRestoreCommand, ABadFileIsRefusedAndTheProgramCarriesOnWithItsData)
{
    const QString garbage = backupDir + QStringLiteral("/garbage.dat");
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    const QByteArray before = contentsOf(run.env.dataFile());
    run.ui.nextFileName(garbage);
    run.ui.answer(Ui::Yes);
    openDialogAnd([](QDialog &d) { Fill::click(d, QStringLiteral("restore")); });

    ASSERT_EQ(run.ui.messages().size(), 2u);
    const auto &refusal = run.ui.messages()[1];
    EXPECT_TRUE(refusal.text.startsWith(
        QStringLiteral("There was an error restoring that file. Please try again.")));
    EXPECT_TRUE(refusal.text.contains(QStringLiteral("not a Domelio data file")));
    EXPECT_TRUE(refusal.text.contains(QStringLiteral("has not been changed")));
    EXPECT_EQ(refusal.icon, Ui::Icon::Warning);
    EXPECT_EQ(contentsOf(run.env.dataFile()), before);
    EXPECT_EQ(frame->currentHomeId(), 2);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Villa - Domelio"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Homes;")), 2);
}

// Export, backup, restore and the report's PDF never take the data file, the files the engine
// keeps beside it, or a link to any of them: a clear message, the dialog stays open for another
// choice, and the program goes on with its data untouched.
TEST_F(BackupRestoreCommand, TheDataFileAndItsSideFilesAreRefusedAndTheDialogStaysOpen)
{
    const QString data = run.env.dataDir();
    const QString link = backupDir + QStringLiteral("/link.dat");
    ASSERT_TRUE(QFile::link(run.env.dataFile(), link));
    const QString logLink = backupDir + QStringLiteral("/log.csv");
    ASSERT_TRUE(QFile::link(data + QStringLiteral("/HOMEDATA.DAT-wal"), logLink)); // dangling
    const QStringList targets {
        run.env.dataFile(),
        link,
        data + QStringLiteral("/HOMEDATA.DAT-journal"), // SQLite would take it for a hot journal
        data + QStringLiteral("/homedata.dat-Journal"), // the same name where case is ignored (FAT)
        logLink,
        data + QStringLiteral("/../data/HOMEDATA.DAT-shm"),
    };
    const QByteArray before = contentsOf(run.env.dataFile());
    const QStringList filesBefore = QDir(data).entryList(QDir::Files | QDir::Hidden);

    const std::pair<const char *, int> buttons[] = {
        { "exportData", Command::ExportInventory },
        { "backup", Command::BackupRestore },
        { "restore", Command::BackupRestore },
        { "saveAsPdf", Command::PrintInventoryReport },
    };
    for (const auto &[button, command] : buttons) {
        SCOPED_TRACE(button);
        std::vector<bool> open;
        run.ui.onNextDialog([&](QDialog &d) {
            for (const QString &target : targets) {
                run.ui.nextFileName(target);
                Fill::click(d, QLatin1String(button));
                open.push_back(d.isVisible());
            }
        });
        const size_t shown = run.ui.messages().size();
        frame->action(command)->trigger();
        EXPECT_EQ(open, std::vector<bool>(size_t(targets.size()), true));
        ASSERT_EQ(run.ui.messages().size(), shown + size_t(targets.size())) << "one refusal each";
        for (int i = 0; i < targets.size(); ++i) {
            const auto &refusal = run.ui.messages()[shown + size_t(i)];
            EXPECT_EQ(refusal.text.section(QLatin1Char('"'), 1, 1),
                      QDir::toNativeSeparators(targets[i]));
            EXPECT_TRUE(refusal.text.contains(QStringLiteral("Domelio's own data file")));
            EXPECT_EQ(refusal.icon, Ui::Icon::Warning);
            EXPECT_EQ(refusal.caption, QStringLiteral("Domelio"));
        }
    }
    EXPECT_EQ(contentsOf(run.env.dataFile()), before);
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), filesBefore);
    EXPECT_FALSE(QFileInfo::exists(logLink)) << "the link still leads nowhere";
    EXPECT_EQ(frame->currentHomeId(), 2);
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral("DELETE FROM Homes WHERE HomeId=1;")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Homes;")), 1);
}

// A name typed without its extension may be an existing backup's: the user is asked first. A
// backup takes the permissions of the one it replaces, else the data file's (never more open
// than the data), and what a killed backup left in the folder is cleared away; only that: not a
// file of the user's named much the same, not another backup's under way (it holds its file),
// and nothing written after this backup began.
TEST_F(BackupRestoreCommand, ABackupAsksBeforeReplacingAndKeepsTheDataPrivate)
{
    const QString backup = backupDir + QStringLiteral("/Domelio Backup.dat");
    {
        QFile old(backup);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("last year's backup");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(backup).constData(), 0640), 0);
    const QString hidden = backupDir + QStringLiteral("/.Domelio Backup.dat.");
    const QString killed = hidden + QStringLiteral("domelio-Ab3xZ9");
    const QStringList kept { hidden + QStringLiteral("abcdef"),
                             hidden + QStringLiteral("domelio-Held01"),
                             hidden + QStringLiteral("domelio-Newer1") };
    for (const QString &file : QStringList { killed, killed + QStringLiteral("-journal") } + kept) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const struct timespec later[2] = { { ::time(nullptr) + 3600, 0 },
                                       { ::time(nullptr) + 3600, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(kept[2]).constData(), later, 0), 0);
    const int held = ::open(QFile::encodeName(kept[1]).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    bool openAfterNo = false;
    openDialogAnd([&](QDialog &d) {
        run.ui.nextFileName(backupDir + QStringLiteral("/Domelio Backup"));
        run.ui.answer(Ui::No);
        Fill::click(d, QStringLiteral("backup"));
        openAfterNo = d.isVisible();
        run.ui.nextFileName(backupDir + QStringLiteral("/Domelio Backup"));
        run.ui.answer(Ui::Yes);
        Fill::click(d, QStringLiteral("backup"));
    });
    EXPECT_TRUE(openAfterNo);
    ASSERT_EQ(run.ui.messages().size(), 3u);
    EXPECT_EQ(run.ui.messages()[0].text,
              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                  .arg(QDir::toNativeSeparators(backup)));
    EXPECT_EQ(run.ui.messages()[0].buttons, Ui::Yes | Ui::No);
    EXPECT_EQ(run.ui.messages()[1].text, run.ui.messages()[0].text);
    EXPECT_EQ(run.ui.messages()[2].icon, Ui::Icon::Information);
    EXPECT_TRUE(contentsOf(backup).startsWith("SQLite format 3"));
    EXPECT_EQ(modeOf(backup), 0640);
    QStringList left = QDir(backupDir).entryList(QDir::Files | QDir::Hidden);
    for (const QString &file : kept)
        EXPECT_TRUE(left.removeOne(QFileInfo(file).fileName())) << file.toStdString();
    EXPECT_EQ(left, QStringList { QStringLiteral("Domelio Backup.dat") });
    ::close(held);

    // A new backup is as private as the data file.
    ASSERT_EQ(::chmod(QFile::encodeName(run.env.dataFile()).constData(), 0600), 0);
    const QString fresh = backupDir + QStringLiteral("/fresh.dat");
    run.ui.nextFileName(fresh);
    openDialogAnd([](QDialog &d) { Fill::click(d, QStringLiteral("backup")); });
    EXPECT_EQ(modeOf(fresh), 0600);
}

// The export of the current home. While it runs, its progress window up, commands that reach
// the frame another way (a global menu, a queued trigger, the window manager's close) are
// refused: a restore cannot close the data under the export, nor another command start on it.
TEST_F(BackupRestoreCommand, ExportCommandOpensTheExportDialogForTheCurrentHome)
{
    const QString backup = backupDir + QStringLiteral("/both homes.dat");
    ASSERT_TRUE(DataFileBackup::backup(run.app->database(), backup).ok);
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral("DELETE FROM Homes WHERE HomeId=1;")));
    ASSERT_TRUE(run.app->database().Execute(QStringLiteral(
        "INSERT INTO Assets (AssetId, HomeId, Description) VALUES (1, 2, 'Piano'), (2, 2, "
        "'Harp');")));
    Busy::setTiming(0, 0);

    const QString path = backupDir + QStringLiteral("/villa.csv");
    run.ui.nextFileName(path);
    run.ui.answer(Ui::No);
    bool progressUp = false;
    bool closed = true;
    run.ui.onNextDialog([&](QDialog &d) {
        QTimer::singleShot(0, frame, [&] {
            progressUp = Ui::busyWindow().dialog() != nullptr;
            // What a restore is given, should it start.
            run.ui.nextFileName(backup);
            run.ui.answer(Ui::Yes);
            run.ui.onNextDialog([](QDialog &b) { Fill::click(b, QStringLiteral("restore")); });
            for (int id : { Command::BackupRestore, Command::NewHome, Command::SelectHome,
                            Command::TasksView, Command::Exit })
                frame->action(id)->trigger();
            frame->toolButton(Command::TasksView)->click();
            closed = frame->close();
        });
        Fill::click(d, QStringLiteral("exportData"));
    });
    frame->action(Command::ExportInventory)->trigger();
    EXPECT_TRUE(progressUp);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(run.ui.dialogTitles(), QStringList { QStringLiteral("Export Inventory Data") });
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readLine().contains("\"Home Inventory Report for Villa\""));
    EXPECT_TRUE(run.app->database().IsOpen());
    EXPECT_EQ(integrityOf(run.env.dataFile()), QStringLiteral("ok"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Homes;")), 1) << "nothing was restored";
    EXPECT_EQ(frame->currentHomeId(), 2);
    EXPECT_EQ(frame->currentViewIndex(), ViewHost::TodayIndex);
    EXPECT_FALSE(frame->toolButton(Command::TasksView)->isChecked());

    // Once the export is done, the same request goes through.
    frame->action(Command::BackupRestore)->trigger();
    EXPECT_EQ(run.ui.dialogTitles().last(), QStringLiteral("Backup & Restore"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Homes;")), 2);
}

// Every label and button shows its whole text.
void expectTextsFit(QWidget &dialog)
{
    for (auto *w : dialog.findChildren<QWidget *>()) {
        if (!qobject_cast<QLabel *>(w) && !qobject_cast<QPushButton *>(w))
            continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
        EXPECT_TRUE(dialog.rect().contains(QRect(w->mapTo(&dialog, QPoint()), w->size())));
    }
}

// Both dialogs as a person sees them, saved for a look.
TEST_F(BackupRestoreCommand, DialogScreenshots)
{
    CDlgBackup backup(run.app->database(), frame);
    backup.show();
    QApplication::processEvents();
    Screenshots::save(backup, QStringLiteral("backup_dialog"));
    expectTextsFit(backup);

    CDlgExport exporter(run.app->database(), frame->currentHome(), frame);
    exporter.show();
    QApplication::processEvents();
    Screenshots::save(exporter, QStringLiteral("export_dialog"));
    expectTextsFit(exporter);
    // The list shows every asset category without scrolling.
    auto *list = exporter.categoryList()->listModeView();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
}

} // namespace
