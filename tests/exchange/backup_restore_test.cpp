#include "exchange/backup_restore.h"
#include "support/data_file_test.h"
#include "support/failing_calls.h"
#include "support/hot_journal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sqlite3.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using DataFileBackup::Outcome;
using DataFileBackup::Step;

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Runs body in a child process and returns its wait status. The child never returns into the
// test runner: it ends with body's result.
int inChild(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// Limits the files the calling process may write to bytes, as a full disk would.
void fillDiskAt(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit { bytes, bytes };
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// The home descriptions in a data file, read with the engine alone; "damaged" when the file
// is not a whole database.
QString homesIn(const QString &path)
{
    sqlite3 *db = nullptr;
    QString result = QStringLiteral("damaged");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        bool whole =
            sqlite3_prepare_v2(db, "PRAGMA integrity_check;", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW
            && qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok") == 0;
        sqlite3_finalize(stmt);
        if (whole
            && sqlite3_prepare_v2(db, "SELECT group_concat(Description, ';') FROM Homes;", -1,
                                  &stmt, nullptr)
                == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW)
            result =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}

class BackupRestoreTest : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Old home');"));
        // A backup made elsewhere: a data file of its own with other rows.
        backupFile = env.root() + QStringLiteral("/backup.dat");
        ASSERT_TRUE(DataFile::create(backupFile));
        CADODataBase other;
        ASSERT_TRUE(other.Open(backupFile));
        ASSERT_TRUE(other.Execute(QStringLiteral(
            "INSERT INTO Homes (HomeId, Description) VALUES (2, 'Restored home');")));
        // Enough rows that the file spans many pages (a cut-short copy loses real data).
        ASSERT_TRUE(other.Execute(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
            "INSERT INTO Assets (AssetId, HomeId, Description) SELECT i, 2, 'Asset ' || i "
            "FROM n;")));
    }

    QString homesNow() { return homesIn(env.dataFile()); }

    // The program still works on its data: it reads the current rows through its connection.
    void expectStillWorkingOnOldData()
    {
        EXPECT_TRUE(db.IsOpen());
        EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Homes WHERE HomeId=1;")), 1);
        EXPECT_TRUE(db.Execute(QStringLiteral("UPDATE Homes SET Address=NULL WHERE HomeId=1;")));
    }

    // Files besides HOMEDATA.DAT left in the data folder (staged copies, journals).
    QStringList leftovers()
    {
        QStringList names = QDir(env.dataDir()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("HOMEDATA.DAT"));
        return names;
    }

    QString backupFile;
};

TEST_F(BackupRestoreTest, BackupCopiesTheOpenFileAndLeavesNoTemporaryBehind)
{
    QDir(env.root()).mkpath(QStringLiteral("backups"));
    const QString target = env.root() + QStringLiteral("/backups/Domelio Backup.dat");
    writeBytes(target, "an older backup");

    const Outcome done = DataFileBackup::backup(db, target);
    ASSERT_TRUE(done.ok) << done.reason.toStdString();
    EXPECT_EQ(homesIn(target), QStringLiteral("Old home"));
    EXPECT_TRUE(DataFileBackup::validate(target).ok);
    EXPECT_EQ(QDir(env.root() + QStringLiteral("/backups")).entryList(QDir::Files | QDir::Hidden),
              QStringList { QStringLiteral("Domelio Backup.dat") });
    expectStillWorkingOnOldData();
}

// A file system without permissions (FAT, some network shares) refuses to set them: the backup
// is made all the same. Any other refusal fails it, and the older backup stays.
TEST_F(BackupRestoreTest, ABackupWhereFilesHaveNoPermissionsIsMadeAllTheSame)
{
    const QString target = env.root() + QStringLiteral("/stick.dat");
    for (int refusal : { EPERM, ENOTSUP, EINVAL, EIO }) {
        SCOPED_TRACE(refusal);
        writeBytes(target, "previous backup");
        FailingCalls calls;
        calls.fchmodFails(refusal);
        const Outcome done = DataFileBackup::backup(db, target);
        EXPECT_EQ(calls.failed(), 1);
        if (refusal == EIO) {
            EXPECT_FALSE(done.ok);
            EXPECT_EQ(bytesOf(target), QByteArray("previous backup"));
        } else {
            EXPECT_TRUE(done.ok) << done.reason.toStdString();
            EXPECT_EQ(homesIn(target), QStringLiteral("Old home"));
        }
        EXPECT_EQ(QDir(env.root())
                      .entryList({ QStringLiteral(".stick.dat*") }, QDir::Files | QDir::Hidden),
                  QStringList());
    }
}

TEST_F(BackupRestoreTest, BackupRefusesTheDataFileAnUnwritableFolderAndAFullDisk)
{
    const QByteArray before = bytesOf(env.dataFile());

    Outcome onItself = DataFileBackup::backup(db, env.dataFile());
    EXPECT_FALSE(onItself.ok);
    EXPECT_TRUE(onItself.reason.contains(QStringLiteral("data file itself")));
    // Another spelling of the same path is the same file.
    EXPECT_FALSE(DataFileBackup::backup(db, env.dataDir() + QStringLiteral("/./HOMEDATA.DAT")).ok);

    // A folder below a regular file cannot be written, by root either.
    writeBytes(env.root() + QStringLiteral("/plainfile"), "x");
    Outcome noFolder = DataFileBackup::backup(db, env.root() + QStringLiteral("/plainfile/b.dat"));
    EXPECT_FALSE(noFolder.ok);
    EXPECT_TRUE(noFolder.reason.contains(QStringLiteral("folder")));

    const QString target = env.root() + QStringLiteral("/full.dat");
    writeBytes(target, "previous backup");
    const int status = inChild([&] {
        CADODataBase own;
        if (!own.Open(env.dataFile()))
            return 3;
        fillDiskAt(8192);
        return DataFileBackup::backup(own, target).ok ? 1 : 0;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a backup onto a full disk must fail";
    EXPECT_EQ(bytesOf(target), QByteArray("previous backup")) << "the old backup stays whole";
    EXPECT_EQ(
        QDir(env.root()).entryList({ QStringLiteral(".full.dat*") }, QDir::Files | QDir::Hidden),
        QStringList());

    EXPECT_EQ(bytesOf(env.dataFile()), before);
    expectStillWorkingOnOldData();
}

TEST_F(BackupRestoreTest, AGoodBackupRestoresInPlace)
{
    const QString dataFile = env.dataFile();
    const Outcome done = DataFileBackup::restore(db, backupFile);
    ASSERT_TRUE(done.ok) << done.reason.toStdString();
    EXPECT_TRUE(done.replaced);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.GetDataSource(), dataFile);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Assets;")), 3000);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Homes WHERE HomeId=1;")), 0);
    EXPECT_EQ(homesIn(backupFile), QStringLiteral("Restored home")) << "the backup is kept";
    EXPECT_EQ(leftovers(), QStringList());
}

// A backup another SQLite tool keeps in write-ahead-log mode is read through the engine with its
// log, checkpointed or not: every committed row comes back, the backup and its log stay as they
// were, and the data file is a plain one again, as the program keeps it.
TEST_F(BackupRestoreTest, ABackupInWriteAheadLogModeRestoresWithWhatItsLogHolds)
{
    const QString root = env.root();
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(backupFile).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                           "INSERT INTO Homes (HomeId, Description) VALUES (3, 'Logged home');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    // Copied as a person copies files while the other tool still has them open: the row is in
    // the log only, then in both.
    auto copyPair = [&](const QString &name) {
        ASSERT_TRUE(QFile::copy(backupFile, root + name));
        ASSERT_TRUE(
            QFile::copy(backupFile + QStringLiteral("-wal"), root + name + QStringLiteral("-wal")));
    };
    copyPair(QStringLiteral("/in-log.dat"));
    ASSERT_EQ(sqlite3_exec(other, "PRAGMA wal_checkpoint(PASSIVE);", nullptr, nullptr, nullptr),
              SQLITE_OK);
    copyPair(QStringLiteral("/checkpointed.dat"));
    sqlite3_close(other);
    ASSERT_EQ(bytesOf(backupFile).at(18), 2) << "the header says write-ahead log";

    for (const QString &name : { QStringLiteral("/in-log.dat"), QStringLiteral("/checkpointed.dat"),
                                 QStringLiteral("/backup.dat") }) {
        SCOPED_TRACE(name.toStdString());
        const QString path = root + name;
        const QByteArray file = bytesOf(path);
        const QByteArray log = bytesOf(path + QStringLiteral("-wal"));
        const Outcome done = DataFileBackup::restore(db, path);
        ASSERT_TRUE(done.ok) << done.reason.toStdString();
        EXPECT_EQ(homesNow(), QStringLiteral("Restored home;Logged home"));
        EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Assets;")), 3000);
        EXPECT_EQ(bytesOf(env.dataFile()).at(18), 1) << "a rollback-journal file again";
        EXPECT_EQ(leftovers(), QStringList());
        EXPECT_EQ(bytesOf(path), file);
        EXPECT_EQ(bytesOf(path + QStringLiteral("-wal")), log);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-shm")));
    }
}

// A data file, or a backup, that is a symbolic link stays one: the file it leads to is replaced
// in its own folder and keeps its permissions.
TEST_F(BackupRestoreTest, LinksAreFollowedAndTheFilesTheyLeadToReplacedInPlace)
{
    const QString real = env.root() + QStringLiteral("/real/home data.db");
    QDir(env.root()).mkpath(QStringLiteral("real"));
    db.Close();
    ASSERT_TRUE(QFile::rename(env.dataFile(), real));
    ASSERT_TRUE(QFile::link(real, env.dataFile()));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(db.Open(env.dataFile()));

    const Outcome done = DataFileBackup::restore(db, backupFile);
    ASSERT_TRUE(done.ok) << done.reason.toStdString();
    EXPECT_EQ(QFileInfo(env.dataFile()).symLinkTarget(), real);
    EXPECT_EQ(homesIn(real), QStringLiteral("Restored home"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(env.root() + QStringLiteral("/real")).entryList(QDir::Files | QDir::Hidden),
              QStringList { QStringLiteral("home data.db") });
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Homes WHERE HomeId=2;")), 1);

    // A backup through a link to an older backup in another folder.
    const QString older = env.root() + QStringLiteral("/real/older.dat");
    ASSERT_TRUE(QFile::copy(backupFile, older));
    const QString link = env.root() + QStringLiteral("/latest.dat");
    ASSERT_TRUE(QFile::link(older, link));
    run(QStringLiteral("UPDATE Homes SET Description='Changed since' WHERE HomeId=2;"));
    ASSERT_TRUE(DataFileBackup::backup(db, link).ok);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), older);
    EXPECT_EQ(homesIn(older), QStringLiteral("Changed since"));
}

// The restore fails after the connection was closed: what is in place is opened again and
// checked, and when nothing can be opened the user is told which file and what became of it,
// and the connection stays closed, so that no later save can pass for done.
TEST_F(BackupRestoreTest, AFailureAfterTheCloseReopensWhatIsThereOrSaysThatNothingOpens)
{
    const QString dataFile = env.dataFile();
    const QString shown = QDir::toNativeSeparators(dataFile);
    auto stagedCopy = [&] {
        const QStringList staged =
            QDir(env.dataDir())
                .entryList({ QStringLiteral(".HOMEDATA.DAT.*") }, QDir::Files | QDir::Hidden);
        return staged.size() == 1 ? env.dataDir() + QLatin1Char('/') + staged[0] : QString();
    };

    // Another program stopped mid-write and left a hot journal, and the rename is refused once
    // the journal was set aside: it is put back, and played back into the old file when that is
    // opened again, which then has its bytes of before the write.
    const QByteArray beforeWrite = bytesOf(dataFile);
    leaveHotJournal(dataFile);
    ASSERT_NE(bytesOf(dataFile), beforeWrite);
    {
        FailingCalls calls;
        bool setAside = false;
        calls.renameOntoFails(dataFile, EIO, [&] {
            setAside = !QFile::exists(dataFile + QStringLiteral("-journal"));
        });
        const Outcome refused = DataFileBackup::restore(db, backupFile);
        EXPECT_EQ(calls.failed(), 1);
        EXPECT_TRUE(setAside);
        EXPECT_FALSE(refused.ok);
        EXPECT_FALSE(refused.replaced);
        EXPECT_TRUE(
            refused.reason.startsWith(QStringLiteral("The data file could not be replaced")));
    }
    EXPECT_EQ(bytesOf(dataFile), beforeWrite);
    EXPECT_EQ(leftovers(), QStringList());
    expectStillWorkingOnOldData();

    // The copy vanishes before the rename: the old file is opened again, unchanged.
    Outcome lost = DataFileBackup::restore(db, backupFile, [&](Step step) {
        if (step == Step::Validated) {
            ASSERT_TRUE(QFile::remove(stagedCopy()));
        }
    });
    EXPECT_FALSE(lost.ok);
    EXPECT_FALSE(lost.replaced);
    EXPECT_TRUE(lost.reason.startsWith(QStringLiteral("The data file could not be replaced")));
    EXPECT_EQ(homesNow(), QStringLiteral("Old home"));
    expectStillWorkingOnOldData();

    // The restored file is in place but cannot be opened.
    Outcome unreadable = DataFileBackup::restore(db, backupFile, [&](Step step) {
        if (step == Step::Replaced) {
            writeBytes(dataFile, QByteArray(8192, 'x'));
        }
    });
    EXPECT_FALSE(unreadable.ok);
    EXPECT_TRUE(unreadable.replaced);
    EXPECT_TRUE(unreadable.reason.contains(QStringLiteral("\"%1\"").arg(shown)));
    EXPECT_TRUE(unreadable.reason.contains(QStringLiteral("not a Domelio data file")));
    EXPECT_TRUE(unreadable.reason.contains(QStringLiteral("previous data has been replaced")));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.Execute(QStringLiteral("UPDATE Homes SET Address=NULL;")));

    // Neither the new file nor the old one: the data file's name now belongs to a folder.
    ASSERT_TRUE(QFile::copy(backupFile, dataFile + QStringLiteral(".tmp")));
    ASSERT_TRUE(QFile::remove(dataFile));
    ASSERT_TRUE(QFile::rename(dataFile + QStringLiteral(".tmp"), dataFile));
    ASSERT_TRUE(db.Open());
    Outcome nothing = DataFileBackup::restore(db, backupFile, [&](Step step) {
        if (step == Step::Validated) {
            ASSERT_TRUE(QFile::remove(dataFile));
            ASSERT_TRUE(QDir().mkpath(dataFile + QStringLiteral("/inside")));
        }
    });
    EXPECT_FALSE(nothing.ok);
    EXPECT_FALSE(nothing.replaced);
    EXPECT_TRUE(nothing.reason.contains(QStringLiteral("\"%1\"").arg(shown)));
    EXPECT_TRUE(nothing.reason.contains(QStringLiteral("could not be opened again")));
    EXPECT_TRUE(nothing.reason.contains(QStringLiteral("nothing can be saved")));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(stagedCopy(), QString()) << "the copy that could not take its place is gone";
}

TEST_F(BackupRestoreTest, BadFilesAreRefusedAndTheDataStaysAsItWas)
{
    const QString root = env.root();
    const QByteArray good = bytesOf(backupFile);

    writeBytes(root + QStringLiteral("/garbage.dat"), QByteArray(8192, 'g'));
    writeBytes(root + QStringLiteral("/truncated.dat"), good.left(good.size() / 2));
    // Cut on a page boundary, so that only the engine can tell.
    QByteArray pages = good.left(good.size() / 2);
    pages.truncate(pages.size() - pages.size() % 4096);
    QByteArray header = pages.left(100);
    header[28] = header[29] = header[30] = header[31] = 0; // no page count in the header
    writeBytes(root + QStringLiteral("/cut-on-page.dat"), header + pages.mid(100));
    {
        sqlite3 *other = nullptr;
        sqlite3_open((root + QStringLiteral("/other.dat")).toUtf8().constData(), &other);
        sqlite3_exec(other, "CREATE TABLE Recipes (RecipeId INTEGER, Name TEXT);", nullptr, nullptr,
                     nullptr);
        sqlite3_close(other);
        // Our tables, but one column the program reads is gone.
        ASSERT_TRUE(DataFile::create(root + QStringLiteral("/old-layout.dat")));
        sqlite3_open((root + QStringLiteral("/old-layout.dat")).toUtf8().constData(), &other);
        ASSERT_EQ(sqlite3_exec(other, "ALTER TABLE Assets DROP COLUMN Phone1;", nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
        sqlite3_close(other);
    }
    QDir(root).mkpath(QStringLiteral("a-folder.dat"));

    const struct
    {
        const char *name;
        QString path;
    } cases[] = {
        { "garbage", root + QStringLiteral("/garbage.dat") },
        { "truncated", root + QStringLiteral("/truncated.dat") },
        { "cut on a page boundary", root + QStringLiteral("/cut-on-page.dat") },
        { "another program's SQLite file", root + QStringLiteral("/other.dat") },
        { "a table without a column", root + QStringLiteral("/old-layout.dat") },
        { "the data file itself", env.dataFile() },
        { "the data file by another path",
          env.dataDir() + QStringLiteral("/../data/HOMEDATA.DAT") },
        { "a missing file", root + QStringLiteral("/nowhere.dat") },
        { "a folder", root + QStringLiteral("/a-folder.dat") },
        { "an empty file", root + QStringLiteral("/empty.dat") },
    };
    writeBytes(root + QStringLiteral("/empty.dat"), QByteArray());

    const QByteArray before = bytesOf(env.dataFile());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome refused = DataFileBackup::restore(db, c.path);
        EXPECT_FALSE(refused.ok);
        EXPECT_FALSE(refused.replaced);
        EXPECT_FALSE(refused.reason.isEmpty());
        EXPECT_EQ(bytesOf(env.dataFile()), before);
        EXPECT_EQ(leftovers(), QStringList());
        expectStillWorkingOnOldData();
    }
    EXPECT_TRUE(DataFileBackup::restore(db, root + QStringLiteral("/old-layout.dat"))
                    .reason.contains(QStringLiteral("Assets.Phone1")));
}

TEST_F(BackupRestoreTest, AFullDiskDuringTheCopyLeavesTheDataWhole)
{
    const QByteArray before = bytesOf(env.dataFile());
    ASSERT_GT(bytesOf(backupFile).size(), 65536);
    const int status = inChild([&] {
        CADODataBase own;
        if (!own.Open(env.dataFile()))
            return 3;
        fillDiskAt(65536);
        const Outcome o = DataFileBackup::restore(own, backupFile);
        return !o.ok && !o.replaced && own.IsOpen() ? 0 : 1;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(bytesOf(env.dataFile()), before);
    EXPECT_EQ(leftovers(), QStringList());
    expectStillWorkingOnOldData();
}

// A restore killed at any point leaves the old data file or the new one, whole, never neither.
TEST_F(BackupRestoreTest, ARestoreKilledMidwayLeavesOneWholeDataFile)
{
    db.Close(); // the children open their own connections
    for (Step stop : { Step::Staged, Step::Validated, Step::Replaced }) {
        const int status = inChild([&] {
            CADODataBase own;
            if (!own.Open(env.dataFile()))
                return 3;
            DataFileBackup::restore(own, backupFile, [&](Step reached) {
                if (reached == stop)
                    ::raise(SIGKILL);
            });
            return 4;
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << "stopped at step " << int(stop);
        const QString homes = homesNow();
        if (stop == Step::Replaced)
            EXPECT_EQ(homes, QStringLiteral("Restored home"));
        else
            EXPECT_EQ(homes, QStringLiteral("Old home"));
    }

    // And killed at moments nobody chose: a child restoring the two files in turn.
    const QString oldCopy = env.root() + QStringLiteral("/old.dat");
    ASSERT_TRUE(QFile::copy(backupFile, env.root() + QStringLiteral("/new.dat")));
    {
        CADODataBase dbNow;
        ASSERT_TRUE(dbNow.Open(env.dataFile()));
        ASSERT_TRUE(dbNow.Execute(QStringLiteral("DELETE FROM Homes;")));
        ASSERT_TRUE(dbNow.Execute(
            QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Old home');")));
        ASSERT_TRUE(DataFileBackup::backup(dbNow, oldCopy).ok);
    }
    for (int round = 0; round < 6; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            CADODataBase own;
            if (!own.Open(env.dataFile()))
                ::_exit(3);
            for (int i = 0;; ++i)
                DataFileBackup::restore(own, i % 2 ? oldCopy : backupFile);
        }
        ::usleep(useconds_t(20000 + QRandomGenerator::global()->bounded(120000)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const QString homes = homesNow();
        EXPECT_TRUE(homes == QStringLiteral("Old home") || homes == QStringLiteral("Restored home"))
            << "round " << round << ": " << homes.toStdString();
    }
    ASSERT_TRUE(db.Open(env.dataFile()));
    // The next restore clears what the killed ones left behind.
    EXPECT_TRUE(DataFileBackup::restore(db, backupFile).ok);
    EXPECT_EQ(leftovers(), QStringList());
}

TEST_F(BackupRestoreTest, ValidateAcceptsAFreshDataFileAndNamesWhatIsWrongOtherwise)
{
    EXPECT_TRUE(DataFileBackup::validate(backupFile).ok);
    writeBytes(env.root() + QStringLiteral("/text.dat"), "hello");
    const Outcome text = DataFileBackup::validate(env.root() + QStringLiteral("/text.dat"));
    EXPECT_FALSE(text.ok);
    EXPECT_TRUE(text.reason.contains(QStringLiteral("not a Domelio data file")));
}

} // namespace
