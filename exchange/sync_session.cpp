#include "exchange/sync_session.h"

#include "db/ado_database.h"
#include "platform/device_rapi.h"
#include "platform/settings_key.h"

#include <QFileInfo>
#include <QProcess>
#include <sqlite3.h>

#include <dlfcn.h>

namespace Sync {

float versionNumber(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n
           && (text[i] == QLatin1Char(' ')
               || (text[i] >= QLatin1Char('\t') && text[i] <= QLatin1Char('\r'))))
        ++i;
    const int start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    bool point = false;
    bool digits = false;
    for (; i < n; ++i) {
        if (text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'))
            digits = true;
        else if (text[i] == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        return 0.0f;
    // The characters taken are plain ASCII; the C locale reads them whatever the user's locale.
    return float(std::strtod(text.mid(start, i - start).toLatin1().constData(), nullptr));
}

bool isSupportedVersion(const QString &text)
{
    // As the handheld check has always been made: the single-precision number against 1.1.
    return !(double(versionNumber(text)) < 1.1);
}

QString folderOf(const QString &programPath)
{
    const qsizetype cut = std::max(programPath.lastIndexOf(QLatin1Char('/')),
                                   programPath.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : programPath.left(cut + 1);
}

} // namespace Sync

CSyncService::~CSyncService()
{
    Unload();
}

CSyncService::Status CSyncService::Load()
{
    Unload();
    CSettingsKey key(HKEY_LOCAL_MACHINE);
    QString managerPath;
    if (!key.Open(HKEY_LOCAL_MACHINE, QLatin1String(Sync::kServiceKey))
        || !key.ReadString(QString(), managerPath))
        return Status::NotInstalled;
    m_folder = Sync::folderOf(managerPath);
    if (m_folder.isEmpty())
        return Status::NotInstalled;
    const QByteArray file = QFile::encodeName(m_folder + QLatin1String(DeviceFilter::kLibraryFile));
    m_library = ::dlopen(file.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library)
        return Status::NotInstalled;
    m_toDevice =
        reinterpret_cast<DeviceFilterCopy>(::dlsym(m_library, DeviceFilter::kDesktopToDevice));
    m_toDesktop =
        reinterpret_cast<DeviceFilterCopy>(::dlsym(m_library, DeviceFilter::kDeviceToDesktop));
    // A filter without both entry points is not one the program can use.
    if (!m_toDevice || !m_toDesktop) {
        Unload();
        return Status::NotInstalled;
    }
    return Status::Ready;
}

void CSyncService::Unload()
{
    m_toDevice = nullptr;
    m_toDesktop = nullptr;
    if (m_library) {
        ::dlclose(m_library);
        m_library = nullptr;
    }
}

bool CSyncService::QuitManager() const
{
    if (m_folder.isEmpty())
        return false;
    return QProcess::startDetached(m_folder + QLatin1String(Sync::kManagerProgram),
                                   { QStringLiteral("/quit") });
}

namespace {

// The filter writes the desktop file through a connection of its own. Our connection must hold
// no read transaction meanwhile, or the filter could never commit: every statement still
// stepping is reset first. Recordsets keep no statement open, so normally there is none.
bool releaseReadLocks(CADODataBase &desktop)
{
    sqlite3 *db = desktop.handle();
    if (!db)
        return false;
    for (sqlite3_stmt *stmt = sqlite3_next_stmt(db, nullptr); stmt;
         stmt = sqlite3_next_stmt(db, stmt)) {
        if (sqlite3_stmt_busy(stmt))
            sqlite3_reset(stmt);
    }
    return sqlite3_get_autocommit(db) != 0;
}

} // namespace

DeviceFilter::Result CSyncService::Copy(Sync::Direction direction, CADODataBase &desktop,
                                        const QString &deviceDatabase) const
{
    if (!m_toDevice || !m_toDesktop)
        return DeviceFilter::BadArguments;
    const QByteArray desktopFile =
        QFile::encodeName(QFileInfo(desktop.GetDataSource()).absoluteFilePath());
    if (!releaseReadLocks(desktop))
        return DeviceFilter::TargetUnusable;

    // Desktop to device: the handheld relies on its old database being gone when the new one
    // is written. The filter writes the new one beside it and renames it over the old only
    // when whole, so a copy that fails or is cut off leaves the device with its old database.
    const QByteArray device = deviceDatabase.toLocal8Bit();
    const DeviceFilterCopy copy =
        direction == Sync::Direction::DeviceToDesktop ? m_toDesktop : m_toDevice;
    return DeviceFilter::Result(
        copy(desktopFile.constData(), Sync::kTableList, 0, 1, device.constData()));
}

namespace {

// A text value of the handheld's key, read into the fixed buffer as the handheld writes it.
bool readDeviceText(HCEKEY key, const QString &name, QString &text)
{
    char16_t buffer[Sync::kValueBufferBytes / 2] = {};
    quint32 size = sizeof(buffer);
    quint32 type = 0;
    if (CeRegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<quint8 *>(buffer), &size)
            != CeError::Success
        || type != REG_SZ)
        return false;
    // Up to the terminating zero, or the end of what was stored when it lacks one.
    qsizetype units = size / 2;
    for (qsizetype i = 0; i < units; ++i) {
        if (buffer[i] == 0) {
            units = i;
            break;
        }
    }
    text = QString::fromUtf16(buffer, units);
    return true;
}

} // namespace

DeviceCheck CheckDevice()
{
    DeviceCheck check;
    HCEKEY key = 0;
    if (CeRegOpenKeyEx(HKEY_CURRENT_USER, QLatin1String(Sync::kDeviceKey), 0, KEY_READ, &key)
        != CeError::Success)
        return check;

    QString version;
    if (!readDeviceText(key, QStringLiteral("CurrentVersion"), version)
        || !Sync::isSupportedVersion(version)) {
        check.status = DeviceCheck::OldVersion;
    } else if (readDeviceText(key, QStringLiteral("DBPath"), check.databasePath)) {
        check.status = DeviceCheck::Ready;
    }
    CeRegCloseKey(key);
    if (check.status != DeviceCheck::Ready)
        return check;

    // The handheld program holds its database while it runs; the copy needs it closed.
    const CEHANDLE file = CeCreateFile(check.databasePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, 0);
    if (file == INVALID_HANDLE_VALUE) {
        check.status = DeviceCheck::ConnectFailed;
        return check;
    }
    CeCloseHandle(file);
    return check;
}
