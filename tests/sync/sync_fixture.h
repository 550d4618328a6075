#pragma once
// A computer with the synchronisation service registered (the real stand-ins, built beside the
// program) and a handheld attached: its settings hive and a database of its own, all in the
// test's private folders.

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/datafile.h"
#include "exchange/sync_session.h"
#include "platform/device_folder.h"
#include "platform/device_rapi.h"
#include "platform/settings_key.h"
#include "support/hot_journal.h"
#include "support/integrity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

namespace SyncTest {

inline const QString kDbPath = QStringLiteral("\\My Documents\\Domelio.cdb");

inline QString serviceFolder()
{
    return QStringLiteral(DOMELIO_BIN_DIR "/service/");
}

// Points the HKLM hive's App Paths entry at folder (the manager's path in it).
inline void registerService(const QString &folder = serviceFolder())
{
    CSettingsKey key(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, QLatin1String(Sync::kServiceKey)));
    ASSERT_TRUE(key.WriteString(QString(), folder + QStringLiteral("CEAppMgr")));
}

inline void writeDeviceValue(const QString &name, const QString &text)
{
    CSettingsKey key(HKEY_CURRENT_USER, DeviceFolder::hiveFile());
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, QLatin1String(Sync::kDeviceKey)));
    ASSERT_TRUE(key.WriteString(name, text));
}

inline QString deviceFile()
{
    return DeviceFolder::root() + QStringLiteral("/My Documents/Domelio.cdb");
}

// What the database's folder on the device holds besides the database: a copy's temporary
// files, journals.
inline QStringList deviceLeftovers()
{
    QStringList names = QFileInfo(deviceFile()).dir().entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QFileInfo(deviceFile()).fileName());
    return names;
}

// A handheld of version 1.2 whose database holds the homes given.
inline void setUpDevice(const QStringList &homes = {},
                        const QString &version = QStringLiteral("1.2"))
{
    ASSERT_TRUE(QDir().mkpath(DeviceFolder::root() + QStringLiteral("/My Documents")));
    writeDeviceValue(QStringLiteral("CurrentVersion"), version);
    writeDeviceValue(QStringLiteral("DBPath"), kDbPath);
    QString error;
    ASSERT_TRUE(DataFile::create(deviceFile(), &error)) << error.toStdString();
    CADODataBase db;
    ASSERT_TRUE(db.Open(deviceFile()));
    int id = 100;
    for (const QString &home : homes) {
        ASSERT_TRUE(
            db.Execute(QStringLiteral("INSERT INTO Homes (HomeId) VALUES (%1);").arg(++id)));
        CADORecordset rs(db);
        ASSERT_TRUE(rs.Open(QStringLiteral("SELECT * FROM Homes WHERE HomeId=%1;").arg(id)));
        rs.Edit();
        rs.SetString(QStringLiteral("Description"), home);
        ASSERT_TRUE(rs.Update());
    }
}

// Home descriptions of a file, in id order, read through a connection of its own.
inline QStringList homesIn(const QString &file)
{
    QStringList names;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT Description FROM Homes ORDER BY HomeId;", -1, &stmt,
                               nullptr)
            == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW)
                names << QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        } else {
            names << QStringLiteral("<no Homes table>");
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return names;
}

// The handheld program running: it holds its database open. Its descriptor is its own: the
// programs this process starts (the service manager) must not inherit it, and its lock.
class HandheldRunning
{
public:
    HandheldRunning()
        : m_fd(::open(QFile::encodeName(deviceFile()).constData(), O_RDONLY | O_CLOEXEC))
    {
        EXPECT_GE(m_fd, 0);
        EXPECT_EQ(::flock(m_fd, LOCK_SH), 0);
    }
    ~HandheldRunning() { exit(); }
    void exit()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// The remote API for a test that does not start the whole program.
class RapiSession
{
public:
    RapiSession()
    {
        RAPIINIT init;
        EXPECT_EQ(CeRapiInitEx(&init), 0);
    }
    ~RapiSession() { CeRapiUninit(); }
};

} // namespace SyncTest
