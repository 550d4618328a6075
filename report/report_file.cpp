#include "report/report_file.h"

#include "platform/file_target.h"

#include <QFile>
#include <QFileInfo>

namespace InventoryReport {

SaveResult saveFile(const QString &target, const QString &dataFile,
                    const std::function<SaveResult(QIODevice &)> &write, QString *error)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return SaveResult::Failed;
    };
    if (!dataFile.isEmpty() && FileTarget::isDataFile(target, dataFile))
        return fail(QStringLiteral("That file is the program's data file; a report must be "
                                   "another file."));
    if (QFileInfo(FileTarget::resolved(target)).isDir())
        return fail(QStringLiteral("That name belongs to a folder."));

    // The pages go to a temporary file beside the target, which takes the target's place only
    // once they are all written; a link is followed and the file it points at replaced.
    FileTarget::Replacement replacement(target, dataFile);
    QString reason;
    if (!replacement.open(&reason))
        return fail(reason);
    QFile file(replacement.temporaryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(file.errorString());
    const SaveResult result = write(file);
    if (result != SaveResult::Saved) {
        if (result == SaveResult::Cancelled)
            return result;
        return fail(file.error() != QFileDevice::NoError
                        ? file.errorString()
                        : QStringLiteral("The report could not be written."));
    }
    if (!file.flush())
        return fail(file.errorString());
    file.close();
    if (!replacement.commit(&reason))
        return fail(reason);
    return SaveResult::Saved;
}

} // namespace InventoryReport
