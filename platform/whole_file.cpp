#include "platform/whole_file.h"

#include "platform/file_target.h"

#include <QFile>
#include <QFileInfo>

namespace WholeFile {

Outcome writeAt(const QString &target, const QString &dataFile,
                const std::function<Result(const QString &temporaryPath, QString *error)> &fill)
{
    auto failed = [](Step step, const QString &error) {
        return Outcome { Result::Failed, step, error };
    };
    if (!dataFile.isEmpty() && FileTarget::isDataFile(target, dataFile))
        return failed(Step::DataFile, {});
    if (QFileInfo(FileTarget::resolved(target)).isDir())
        return failed(Step::Folder, QStringLiteral("That name belongs to a folder."));

    // A link is followed and the file it points at replaced.
    FileTarget::Replacement replacement(target, dataFile);
    QString error;
    if (!replacement.open(&error))
        return failed(Step::Open, error);
    // Cancelled or failed, the temporary file goes with the replacement.
    const Result filled = fill(replacement.temporaryPath(), &error);
    if (filled != Result::Written)
        return Outcome { filled, Step::Write, error };
    if (!replacement.commit(&error))
        return failed(Step::Commit, error);
    return Outcome { Result::Written, Step::Write, {} };
}

Outcome write(const QString &target, const QString &dataFile,
              const std::function<Result(QIODevice &file, QString *error)> &fill)
{
    bool opened = true;
    Outcome outcome = writeAt(target, dataFile, [&](const QString &temporaryPath, QString *error) {
        QFile file(temporaryPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            opened = false;
            *error = file.errorString();
            return Result::Failed;
        }
        const Result filled = fill(file, error);
        if (filled == Result::Failed && error->isEmpty() && file.error() != QFileDevice::NoError)
            *error = file.errorString();
        if (filled != Result::Written)
            return filled;
        if (!file.flush()) {
            *error = file.errorString();
            return Result::Failed;
        }
        file.close();
        return Result::Written;
    });
    if (!opened)
        outcome.step = Step::Open;
    return outcome;
}

} // namespace WholeFile
