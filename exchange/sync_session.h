#pragma once
// Device synchronisation without windows: finding the synchronisation service and its filter,
// checking the handheld, and running the copy in one direction. The command (sync_command.h)
// puts the messages and dialogs around these steps.

#include "platform/device_filter.h"

#include <QString>

class CADODataBase;

namespace Sync {

enum class Direction { DesktopToDevice = 1, DeviceToDesktop = 2 };

// Every table of the data file, each name followed by "..".
inline constexpr char kTableList[] = "Areas..Assets..Categories..Homes..Loans..TableIds..Tasks..";
// HKEY_LOCAL_MACHINE: the service's application manager; its folder holds the filter.
inline constexpr const char *kServiceKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
// The handheld's HKEY_CURRENT_USER key, with CurrentVersion and DBPath.
inline constexpr const char *kDeviceKey = "Software\\VarnHolt\\Domelio";
inline constexpr const char *kManagerProgram = "wcesmgr";
// The handheld values are read into buffers of this many bytes: 129 UTF-16 units and the zero.
inline constexpr int kValueBufferBytes = 260;

// The handheld's version text as a number, read as C's decimal conversion reads it: leading
// blanks, a sign, digits and one point; 0 when it starts with none. Held in single precision.
float versionNumber(const QString &text);
// The handheld edition syncs from version 1.1 on.
bool isSupportedVersion(const QString &text);

// The folder of the manager program's path, cut after its last separator (which stays); empty
// when there is none.
QString folderOf(const QString &programPath);

} // namespace Sync

// The synchronisation service of this computer, found through the App Paths entry of the
// HKEY_LOCAL_MACHINE hive, and its filter library while loaded.
class CSyncService
{
public:
    enum class Status { Ready, NotInstalled };

    CSyncService() = default;
    ~CSyncService();
    CSyncService(const CSyncService &) = delete;
    CSyncService &operator=(const CSyncService &) = delete;

    // Finds the service's folder and loads its filter. A missing entry, a folder without the
    // filter, or a filter lacking either entry point all mean the service is not installed.
    Status Load();
    void Unload();
    bool isLoaded() const { return m_library != nullptr; }
    QString folder() const { return m_folder; }

    // Asks the service's manager program to let go of the device ("/quit"); not waited for.
    bool QuitManager() const;

    // One direction of the copy through the loaded filter. The device database path is a
    // device path. Desktop to device has the filter write a new database beside the old one and
    // move it into place only when whole, holding the old one all the while (DeviceInUse when
    // the handheld program has it); device to desktop copies into the open data file in one
    // transaction. Anything but Ok leaves both sides as they were.
    DeviceFilter::Result Copy(Sync::Direction direction, CADODataBase &desktop,
                              const QString &deviceDatabase) const;

private:
    void *m_library = nullptr;
    DeviceFilterCopy m_toDevice = nullptr;
    DeviceFilterCopy m_toDesktop = nullptr;
    QString m_folder;
};

// What the handheld said when asked.
struct DeviceCheck
{
    enum Status {
        Ready, // a supported version, a readable DBPath, and the file free
        ConnectFailed, // no device key, no DBPath, or the file missing or held open
        OldVersion, // CurrentVersion unreadable or below 1.1
    };
    Status status = ConnectFailed;
    QString databasePath; // DBPath, when read
};

// Opens the handheld's key, reads CurrentVersion and DBPath, and probes the database file for
// reading without sharing (closing it again). The remote API must be initialised.
DeviceCheck CheckDevice();
