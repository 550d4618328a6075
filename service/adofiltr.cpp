// The synchronisation service's database filter: copies the listed tables between the desktop's
// data file and the handheld's database. Both are SQLite files; the handheld's is reached
// through the device folder, like every device path. The handheld's database is replaced whole:
// the new one is written beside it and renamed over it, all while the filter holds the file, so
// the handheld program can neither keep writing into a file that is going away nor find half a
// database.

#include "platform/device_filter.h"
#include "platform/device_folder.h"
#include "platform/file_target.h"
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
// open (an advisory lock on the file itself); fails while the handheld program holds it.
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
    // A link on the device is followed: the file it leads to is replaced, in its own folder.
    // A journal or log the handheld left (it stopped mid-write) belongs to the old database and
    // goes with it; the engine would play it back into the new one and damage it.
    FileTarget::Replacement replacement(args.deviceFile, args.desktopFile,
                                        FileTarget::Replacement::Kind::Database);
    const QString target = replacement.targetPath();
    if (FileTarget::isDataFile(target, args.desktopFile))
        return Result::PathRefused;
    // Held from before the copy until after the rename: a handheld program started meanwhile
    // is turned away here instead of writing into a file that is about to be replaced.
    const DeviceFileLock lock(target);
    if (!lock.ok())
        return Result::DeviceInUse;
    QString error;
    if (!replacement.open(&error))
        return Result::TargetUnusable;
    const Result copied =
        TableCopy::copy(args.desktopFile, replacement.temporaryPath(), args.tables, true);
    if (copied != Result::Ok)
        return copied;
    return replacement.commit(&error) ? Result::Ok : Result::TargetUnusable;
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
