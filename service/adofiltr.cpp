// The synchronisation service's database filter: copies the listed tables between the desktop's
// data file and the handheld's database. Both are SQLite files; the handheld's is reached
// through the device folder, like every device path.

#include "platform/device_filter.h"
#include "platform/device_folder.h"
#include "table_copy.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using DeviceFilter::Result;

namespace {

// Holds the device file for the copy, as the handheld program would while it has the file
// open; fails while the handheld program holds it.
class DeviceFileLock
{
public:
    explicit DeviceFileLock(const QString &path)
    {
        if (!QFileInfo::exists(path))
            return; // a new file: nobody can hold it
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        m_free = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    }
    ~DeviceFileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    DeviceFileLock(const DeviceFileLock &) = delete;
    DeviceFileLock &operator=(const DeviceFileLock &) = delete;

    bool ok() const { return m_free; }

private:
    int m_fd = -1;
    bool m_free = true;
};

struct Arguments
{
    QString desktopFile;
    QStringList tables;
    QString deviceFile; // on the host
};

Result readArguments(const char *desktopFile, const char *tableList, std::int32_t sync,
                     std::int32_t overwrite, const char *deviceFile, Arguments &out)
{
    if (!desktopFile || !*desktopFile || !deviceFile || sync != 0 || overwrite != 1)
        return Result::BadArguments;
    const std::optional<QStringList> tables = TableCopy::parseTableList(tableList);
    if (!tables)
        return Result::BadArguments;
    const std::optional<QString> device =
        DeviceFolder::hostPath(QString::fromLocal8Bit(deviceFile));
    if (!device)
        return Result::PathRefused;
    out = Arguments { QFile::decodeName(desktopFile), *tables, *device };
    return Result::Ok;
}

} // namespace

extern "C" __attribute__((visibility("default"))) std::int32_t
DESKTOPTODEVICE(const char *desktopFile, const char *tableList, std::int32_t sync,
                std::int32_t overwrite, const char *deviceFile)
{
    Arguments args;
    if (const Result r = readArguments(desktopFile, tableList, sync, overwrite, deviceFile, args);
        r != Result::Ok)
        return r;
    const DeviceFileLock lock(args.deviceFile);
    if (!lock.ok())
        return Result::DeviceInUse;
    return TableCopy::copy(args.desktopFile, args.deviceFile, args.tables, true);
}

extern "C" __attribute__((visibility("default"))) std::int32_t
DEVICETODESKTOP(const char *desktopFile, const char *tableList, std::int32_t sync,
                std::int32_t overwrite, const char *deviceFile)
{
    Arguments args;
    if (const Result r = readArguments(desktopFile, tableList, sync, overwrite, deviceFile, args);
        r != Result::Ok)
        return r;
    if (!QFileInfo(args.deviceFile).isFile())
        return Result::SourceMissing;
    const DeviceFileLock lock(args.deviceFile);
    if (!lock.ok())
        return Result::DeviceInUse;
    // The desktop file is never created here: without it there is nothing to replace.
    return TableCopy::copy(args.deviceFile, args.desktopFile, args.tables, false);
}
