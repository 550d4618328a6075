// The sync steps without windows, against real hive files, a real device folder and the real
// filter library loaded with dlopen.
#include "exchange/sync_session.h"
#include "support/data_file_test.h"
#include "support/failing_calls.h"
#include "support/file_facts.h"
#include "sync_fixture.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cerrno>
#include <dlfcn.h>
#include <sys/stat.h>

using namespace SyncTest;

namespace {

TEST(SyncVersion, LeadingDigitsAndPointComparedInSinglePrecisionWithOnePointOne)
{
    const struct
    {
        const char *text;
        bool supported;
    } cases[] = {
        { "1.1", true },   { "1.2 beta", true }, { "1.05", false }, { "1", false },
        { "", false },     { "abc", false },     { "  1.3", true }, { "2", true },
        { "1.10", true },  { "1.1.5", true },    { "-1.2", false }, { "1,5", false },
        { "v1.2", false }, { "1.0999", false },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Sync::isSupportedVersion(QString::fromLatin1(c.text)), c.supported) << c.text;
    EXPECT_FLOAT_EQ(Sync::versionNumber(QStringLiteral("1.2 beta")), 1.2f);
    EXPECT_FLOAT_EQ(Sync::versionNumber(QString(300, QLatin1Char('9'))),
                    std::numeric_limits<float>::infinity());
    EXPECT_EQ(Sync::folderOf(QStringLiteral("/opt/sync/CEAppMgr")), QStringLiteral("/opt/sync/"));
    EXPECT_EQ(Sync::folderOf(QStringLiteral("C:\\Sync\\CEAppMgr.exe")),
              QStringLiteral("C:\\Sync\\"));
    EXPECT_EQ(Sync::folderOf(QStringLiteral("CEAppMgr")), QString());
}

class SyncSession : public DataFileTest
{
protected:
    void SetUp() override
    {
        DataFileTest::SetUp();
        seedDesktop({ QStringLiteral("Desk A"), QStringLiteral("Desk B") });
    }

    void seedDesktop(const QStringList &homes)
    {
        int id = 0;
        for (const QString &home : homes) {
            run(QStringLiteral("INSERT INTO Homes (HomeId) VALUES (%1);").arg(++id));
            CADORecordset rs(db);
            ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Homes WHERE HomeId=%1;").arg(id)));
            rs.Edit();
            rs.SetString(QStringLiteral("Description"), home);
            ASSERT_TRUE(rs.Update());
        }
    }

    static void damage(const QString &file, qint64 offset, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(offset));
        f.write(bytes);
    }

    RapiSession rapi;
    const QStringList desk { QStringLiteral("Desk A"), QStringLiteral("Desk B") };
};

TEST_F(SyncSession, TheServiceIsFoundOnlyWhenRegisteredWithAFilterHavingBothEntryPoints)
{
    CSyncService service;
    EXPECT_EQ(service.Load(), CSyncService::Status::NotInstalled); // nothing registered

    QTemporaryDir empty;
    registerService(empty.path() + QLatin1Char('/'));
    EXPECT_EQ(service.Load(), CSyncService::Status::NotInstalled); // no filter in the folder

    // A shared library of another kind under the filter's name: it loads, but lacks the calls.
    Dl_info info {};
    ASSERT_NE(dladdr(reinterpret_cast<void *>(&sqlite3_libversion), &info), 0);
    ASSERT_TRUE(QFile::copy(QFile::decodeName(info.dli_fname),
                            empty.path() + QStringLiteral("/adofiltr.so")));
    EXPECT_EQ(service.Load(), CSyncService::Status::NotInstalled);
    EXPECT_FALSE(service.isLoaded());

    registerService();
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);
    EXPECT_TRUE(service.isLoaded());
    EXPECT_EQ(service.folder(), serviceFolder());
    service.Unload();
    EXPECT_FALSE(service.isLoaded());
}

TEST_F(SyncSession, TheDeviceCheckGivesTheMessageOfEachFault)
{
    // No device key: the handheld program never ran (or no device is there).
    EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);

    setUpDevice();
    EXPECT_EQ(CheckDevice().status, DeviceCheck::Ready);
    EXPECT_EQ(CheckDevice().databasePath, kDbPath);

    for (const QString &old : { QStringLiteral("1.05"), QStringLiteral("1"), QString(),
                                QStringLiteral("abc"), QString(300, QLatin1Char('2')) }) {
        writeDeviceValue(QStringLiteral("CurrentVersion"), old);
        EXPECT_EQ(CheckDevice().status, DeviceCheck::OldVersion) << old.left(10).toStdString();
    }
    {
        CSettingsKey key(HKEY_CURRENT_USER, DeviceFolder::hiveFile());
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, QLatin1String(Sync::kDeviceKey)));
        ASSERT_TRUE(key.DeleteValue(QStringLiteral("CurrentVersion")));
        EXPECT_EQ(CheckDevice().status, DeviceCheck::OldVersion);
        ASSERT_TRUE(key.WriteNumber(QStringLiteral("CurrentVersion"), 2));
        EXPECT_EQ(CheckDevice().status, DeviceCheck::OldVersion); // not a text
    }
    writeDeviceValue(QStringLiteral("CurrentVersion"), QStringLiteral("1.1"));
    ASSERT_EQ(CheckDevice().status, DeviceCheck::Ready);

    // DBPath unreadable: too long for the buffer, not a text, missing.
    writeDeviceValue(QStringLiteral("DBPath"),
                     QStringLiteral("\\") + QString(200, QLatin1Char('d')));
    EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);
    {
        CSettingsKey key(HKEY_CURRENT_USER, DeviceFolder::hiveFile());
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, QLatin1String(Sync::kDeviceKey)));
        ASSERT_TRUE(key.WriteNumber(QStringLiteral("DBPath"), 1));
        EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);
        ASSERT_TRUE(key.DeleteValue(QStringLiteral("DBPath")));
        EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);
    }
    // A path that leaves the device folder is never opened.
    writeDeviceValue(QStringLiteral("DBPath"), QStringLiteral("\\..\\data\\HOMEDATA.DAT"));
    EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);

    // The database missing, then held open by the handheld program.
    writeDeviceValue(QStringLiteral("DBPath"), QStringLiteral("\\My Documents\\Other.cdb"));
    EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);
    writeDeviceValue(QStringLiteral("DBPath"), kDbPath);
    HandheldRunning handheld;
    EXPECT_EQ(CheckDevice().status, DeviceCheck::ConnectFailed);
    handheld.exit();
    EXPECT_EQ(CheckDevice().status, DeviceCheck::Ready);
}

TEST_F(SyncSession, BothDirectionsCopyEveryTableThroughTheLoadedFilter)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);

    // A table of the handheld's own goes with the old database: the device gets a new one.
    {
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        ASSERT_TRUE(device.Execute(QStringLiteral("CREATE TABLE Scratch (x LONG);")));
    }
    run(QStringLiteral("UPDATE TableIds SET NextId=77 WHERE TableName='Homes';"));
    ASSERT_EQ(service.Copy(Sync::Direction::DesktopToDevice, db, kDbPath), DeviceFilter::Ok);
    EXPECT_EQ(homesIn(deviceFile()), desk);
    EXPECT_EQ(integrityOf(deviceFile()), QStringLiteral("ok"));
    EXPECT_EQ(deviceLeftovers(), QStringList());
    {
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        CADORecordset rs(device);
        ASSERT_TRUE(
            rs.Open(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table';")));
        qint32 tables = 0;
        rs.GetLong(0, tables);
        EXPECT_EQ(tables, 7);
        ASSERT_TRUE(
            rs.Open(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='Homes';")));
        qint32 next = 0;
        rs.GetLong(0, next);
        EXPECT_EQ(next, 77);
        // The definitions came along: descriptions still sort without regard to case.
        ASSERT_TRUE(
            rs.Open(QStringLiteral("SELECT count(*) FROM Homes WHERE Description='desk a';")));
        qint32 found = 0;
        rs.GetLong(0, found);
        EXPECT_EQ(found, 1);
    }

    // The handheld changes its data; now it replaces the desktop's, while our connection is
    // open and even while one of its statements is halfway through its rows.
    {
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        ASSERT_TRUE(device.Execute(
            QStringLiteral("UPDATE Homes SET Description='Hand Y' WHERE HomeId=2;")));
    }
    // Its key index disagrees with its rows (it holds another table's keys), and so do two
    // indexes of its tasks (each holds the other's entries: the same values, other rows). Every
    // page is sound, so the copy goes ahead, but the desktop's indexes match its rows.
    {
        sqlite3 *device = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(deviceFile()).constData(), &device), SQLITE_OK);
        const char *swap =
            "CREATE TABLE Spare (HomeId LONG PRIMARY KEY NOT NULL);"
            "INSERT INTO Spare VALUES (901), (902);"
            "PRAGMA writable_schema=ON;"
            "UPDATE sqlite_master SET rootpage=(SELECT sum(rootpage) FROM sqlite_master WHERE "
            "name IN ('sqlite_autoindex_Homes_1', 'sqlite_autoindex_Spare_1')) - rootpage "
            "WHERE name IN ('sqlite_autoindex_Homes_1', 'sqlite_autoindex_Spare_1');"
            "INSERT INTO Tasks (TaskId, TaskType, Status) VALUES (1, 1, 2), (2, 2, 1);"
            "UPDATE sqlite_master SET rootpage=(SELECT sum(rootpage) FROM sqlite_master WHERE "
            "name IN ('TasksByType', 'TasksByStatus')) - rootpage "
            "WHERE name IN ('TasksByType', 'TasksByStatus');";
        EXPECT_EQ(sqlite3_exec(device, swap, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(device);
    }
    ASSERT_NE(integrityOf(deviceFile()), QStringLiteral("ok"));
    sqlite3_stmt *reading = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.handle(), "SELECT * FROM Homes;", -1, &reading, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
    EXPECT_EQ(service.Copy(Sync::Direction::DeviceToDesktop, db, kDbPath), DeviceFilter::Ok);
    sqlite3_finalize(reading);
    EXPECT_EQ(homesIn(env.dataFile()),
              (QStringList { QStringLiteral("Desk A"), QStringLiteral("Hand Y") }));
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Homes WHERE Description='Hand Y';")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Homes WHERE HomeId=2;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT TaskId FROM Tasks WHERE TaskType=2;")), 2);
    EXPECT_EQ(number(QStringLiteral("SELECT TaskId FROM Tasks WHERE Status=2;")), 1);
    EXPECT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
}

TEST_F(SyncSession, ADamagedOrForeignDeviceDatabaseIsRefusedAndTheDesktopKept)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);
    const QByteArray before = [&] {
        QFile f(env.dataFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // Missing table.
    {
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        ASSERT_TRUE(device.Execute(QStringLiteral("DROP TABLE Loans;")));
    }
    EXPECT_EQ(service.Copy(Sync::Direction::DeviceToDesktop, db, kDbPath),
              DeviceFilter::SourceForeign);
    EXPECT_EQ(homesIn(env.dataFile()), desk);

    // A column the desktop has is missing on the device.
    QFile::remove(deviceFile());
    setUpDevice({ QStringLiteral("Hand X") });
    {
        CADODataBase device;
        ASSERT_TRUE(device.Open(deviceFile()));
        ASSERT_TRUE(device.Execute(QStringLiteral("ALTER TABLE Tasks DROP COLUMN Notes;")));
    }
    EXPECT_EQ(service.Copy(Sync::Direction::DeviceToDesktop, db, kDbPath),
              DeviceFilter::SourceForeign);

    // Not a database at all, then a database with a damaged page.
    {
        QFile f(deviceFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'z'));
    }
    EXPECT_EQ(service.Copy(Sync::Direction::DeviceToDesktop, db, kDbPath),
              DeviceFilter::SourceDamaged);
    QFile::remove(deviceFile());
    setUpDevice({ QStringLiteral("Hand X") });
    damage(deviceFile(), 4096, QByteArray(16, '\xff')); // the second page's header
    EXPECT_EQ(service.Copy(Sync::Direction::DeviceToDesktop, db, kDbPath),
              DeviceFilter::SourceDamaged);

    // Every refusal left the desktop file as it was, byte for byte.
    QFile after(env.dataFile());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(integrityOf(env.dataFile()), QStringLiteral("ok"));
}

TEST_F(SyncSession, AFailedCopyToTheDeviceLeavesItsDatabaseInPlace)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);

    // The handheld stopped mid-write, and the rename is refused once its journal was set aside:
    // the journal is back beside the old file, and both are as they were.
    leaveHotJournal(deviceFile());
    const QString journal = deviceFile() + QStringLiteral("-journal");
    const QByteArray fileBefore = contentsOf(deviceFile());
    const QByteArray journalBefore = contentsOf(journal);
    {
        FailingCalls calls;
        calls.renameOntoFails(deviceFile(), EIO);
        EXPECT_EQ(service.Copy(Sync::Direction::DesktopToDevice, db, kDbPath),
                  DeviceFilter::TargetUnusable);
        EXPECT_EQ(calls.failed(), 1);
    }
    EXPECT_EQ(contentsOf(deviceFile()), fileBefore);
    EXPECT_EQ(contentsOf(journal), journalBefore);
    EXPECT_EQ(deviceLeftovers(), QStringList { QStringLiteral("Domelio.cdb-journal") });
    {
        CADODataBase handheld; // opened as the handheld opens it: the journal is played back
        EXPECT_TRUE(handheld.Open(deviceFile()));
    }

    run(QStringLiteral("DROP TABLE Loans;"));
    EXPECT_EQ(service.Copy(Sync::Direction::DesktopToDevice, db, kDbPath),
              DeviceFilter::SourceForeign);
    EXPECT_EQ(homesIn(deviceFile()), QStringList { QStringLiteral("Hand X") });
    EXPECT_EQ(integrityOf(deviceFile()), QStringLiteral("ok"));
    EXPECT_EQ(deviceLeftovers(), QStringList());
}

// The new device database takes the old one's place whole: a journal the handheld left beside
// the old file is not played back into it, a link on the device still leads to it, and it keeps
// the old file's permissions.
TEST_F(SyncSession, ANewDeviceDatabaseTakesTheOldOnesPlaceWhole)
{
    registerService();
    setUpDevice({ QStringLiteral("Hand X") });
    CSyncService service;
    ASSERT_EQ(service.Load(), CSyncService::Status::Ready);
    // Opened read-write, as the handheld opens its database next.
    auto deviceNow = [](const QString &file) {
        CADODataBase device;
        EXPECT_TRUE(device.Open(file)) << file.toStdString();
        return integrityOf(file) + QLatin1Char(' ') + homesIn(file).join(QLatin1Char(';'));
    };
    const QString expected = QStringLiteral("ok Desk A;Desk B");

    leaveHotJournal(deviceFile());
    ASSERT_EQ(service.Copy(Sync::Direction::DesktopToDevice, db, kDbPath), DeviceFilter::Ok);
    EXPECT_EQ(deviceLeftovers(), QStringList());
    EXPECT_EQ(deviceNow(deviceFile()), expected);

    // DBPath leads through a link to the storage card.
    const QString card = DeviceFolder::root() + QStringLiteral("/Storage Card");
    const QString real = card + QStringLiteral("/Domelio.cdb");
    ASSERT_TRUE(QDir().mkpath(card));
    ASSERT_TRUE(QFile::rename(deviceFile(), real));
    ASSERT_TRUE(QFile::link(real, deviceFile()));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0640), 0);
    leaveHotJournal(real);
    run(QStringLiteral("UPDATE Homes SET Description='Desk C' WHERE HomeId=2;"));
    ASSERT_EQ(service.Copy(Sync::Direction::DesktopToDevice, db, kDbPath), DeviceFilter::Ok);
    EXPECT_EQ(QFileInfo(deviceFile()).symLinkTarget(), real);
    EXPECT_EQ(QDir(card).entryList(QDir::Files | QDir::Hidden),
              QStringList { QStringLiteral("Domelio.cdb") });
    EXPECT_EQ(deviceNow(real), QStringLiteral("ok Desk A;Desk C"));
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// The filter's own checks, called as any caller of the library would.
TEST_F(SyncSession, TheFilterRefusesMalformedRequests)
{
    setUpDevice({ QStringLiteral("Hand X") });
    void *library =
        dlopen((serviceFolder() + QStringLiteral("adofiltr.so")).toLocal8Bit().constData(),
               RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library) << dlerror();
    auto toDesktop = reinterpret_cast<DeviceFilterCopy>(dlsym(library, "DEVICETODESKTOP"));
    auto toDevice = reinterpret_cast<DeviceFilterCopy>(dlsym(library, "DESKTOPTODEVICE"));
    ASSERT_TRUE(toDesktop && toDevice);
    const QByteArray desktop = QFile::encodeName(env.dataFile());
    const QByteArray device = kDbPath.toLocal8Bit();
    for (const char *list : { "", "..", "Homes", "Homes.", "Homes..Homes..", "Ho mes..",
                              "Homes;DROP TABLE Areas..", "Homes...Areas.." })
        EXPECT_EQ(toDesktop(desktop.constData(), list, 0, 1, device.constData()),
                  DeviceFilter::BadArguments)
            << list;
    EXPECT_EQ(toDesktop(desktop.constData(), nullptr, 0, 1, device.constData()),
              DeviceFilter::BadArguments);
    EXPECT_EQ(toDesktop(nullptr, Sync::kTableList, 0, 1, device.constData()),
              DeviceFilter::BadArguments);
    EXPECT_EQ(toDesktop(desktop.constData(), Sync::kTableList, 1, 1, device.constData()),
              DeviceFilter::BadArguments); // merging is not offered
    EXPECT_EQ(toDesktop(desktop.constData(), Sync::kTableList, 0, 1, "\\..\\data\\HOMEDATA.DAT"),
              DeviceFilter::PathRefused);
    EXPECT_EQ(toDesktop(desktop.constData(), Sync::kTableList, 0, 1, "\\My Documents\\None.cdb"),
              DeviceFilter::SourceMissing);
    {
        HandheldRunning handheld;
        EXPECT_EQ(toDesktop(desktop.constData(), Sync::kTableList, 0, 1, device.constData()),
                  DeviceFilter::DeviceInUse);
    }
    // The desktop's data file is never the device's database, whatever the device folder.
    qputenv("DOMELIO_DEVICE_DIR", env.root().toLocal8Bit());
    const QByteArray before = [&] {
        QFile f(env.dataFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    for (const char *path : { "\\data\\HOMEDATA.DAT", "\\data\\HOMEDATA.DAT-journal" })
        EXPECT_EQ(toDevice(desktop.constData(), Sync::kTableList, 0, 1, path),
                  DeviceFilter::PathRefused)
            << path;
    EXPECT_FALSE(QFile::exists(env.dataFile() + QStringLiteral("-journal")));
    QFile after(env.dataFile());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    qputenv("DOMELIO_DEVICE_DIR", env.deviceDir().toLocal8Bit());

    // Just one table may be asked for; the others stay.
    EXPECT_EQ(toDesktop(desktop.constData(), "Homes..", 0, 1, device.constData()),
              DeviceFilter::Ok);
    EXPECT_EQ(homesIn(env.dataFile()), QStringList { QStringLiteral("Hand X") });
    dlclose(library);
}

} // namespace

namespace {

TEST(SyncManager, TheServiceManagerAcceptsQuitAndRefusesAnythingElse)
{
    const QString program = serviceFolder() + QLatin1String(Sync::kManagerProgram);
    EXPECT_EQ(QProcess::execute(program, { QStringLiteral("/quit") }), 0);
    EXPECT_EQ(QProcess::execute(program, { QStringLiteral("/QUIT") }), 0);
    EXPECT_NE(QProcess::execute(program, {}), 0);
    EXPECT_NE(QProcess::execute(program, { QStringLiteral("/start") }), 0);
}

} // namespace
