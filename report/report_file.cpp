#include "report/report_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace InventoryReport {
namespace {

// Whether two paths name one file, however spelt or linked (device and inode), or, for a file
// not there yet, the same place.
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0
        && ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

bool isDataFile(const QString &target, const QString &dataFile)
{
    if (dataFile.isEmpty())
        return false;
    for (const char *side : { "", "-journal", "-wal", "-shm" }) {
        if (sameFile(target, dataFile + QLatin1String(side)))
            return true;
    }
    return false;
}

} // namespace

SaveResult saveFile(const QString &target, const QString &dataFile,
                    const std::function<SaveResult(QIODevice &)> &write, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return SaveResult::Failed;
    };
    if (isDataFile(target, dataFile))
        return fail(QStringLiteral("That file is the program's data file; a report must be "
                                   "another file."));
    if (QFileInfo(target).isDir())
        return fail(QStringLiteral("That name belongs to a folder."));

    // QSaveFile writes beside the target and renames when committed; a link is followed, so
    // the file it points at is the one replaced, keeping its permissions.
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const SaveResult result = write(file);
    if (result != SaveResult::Saved) {
        const QString reason = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("The report could not be written.");
        file.cancelWriting();
        return result == SaveResult::Failed ? fail(reason) : result;
    }
    if (!file.commit())
        return fail(file.errorString());
    return SaveResult::Saved;
}

} // namespace InventoryReport
