#include "report/report_file.h"

#include "platform/whole_file.h"

namespace InventoryReport {

SaveResult saveFile(const QString &target, const QString &dataFile,
                    const std::function<SaveResult(QIODevice &)> &write, QString *error)
{
    const WholeFile::Outcome done =
        WholeFile::write(target, dataFile, [&](QIODevice &device, QString *) {
            switch (write(device)) {
            case SaveResult::Saved:
                return WholeFile::Result::Written;
            case SaveResult::Cancelled:
                return WholeFile::Result::Cancelled;
            case SaveResult::Failed:
                break;
            }
            return WholeFile::Result::Failed;
        });
    switch (done.result) {
    case WholeFile::Result::Written:
        return SaveResult::Saved;
    case WholeFile::Result::Cancelled:
        return SaveResult::Cancelled;
    case WholeFile::Result::Failed:
        break;
    }
    if (error) {
        if (done.step == WholeFile::Step::DataFile)
            *error = QStringLiteral("That file is the program's data file; a report must be "
                                    "another file.");
        else if (done.error.isEmpty())
            *error = QStringLiteral("The report could not be written.");
        else
            *error = done.error;
    }
    return SaveResult::Failed;
}

} // namespace InventoryReport
