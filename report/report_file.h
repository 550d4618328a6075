#pragma once
// Where a report the user asked for is written: through the one sequence that checks the chosen
// file and writes it whole or not at all (platform/whole_file.h), in the report's own words.

#include <QString>

#include <functional>

class QIODevice;

namespace InventoryReport {

enum class SaveResult { Saved, Cancelled, Failed };

// Writes target through write(), which fills the device it is given and returns Saved,
// Cancelled or Failed. The bytes go to a temporary file in target's folder that takes
// target's name only once they are all written, so a failure or a cancel leaves no file behind
// and an older file of that name as it was. The data file (dataFile), its journal and other
// side files, and any link to one of them, are refused before anything is written. error
// receives the reason of a failure.
SaveResult saveFile(const QString &target, const QString &dataFile,
                    const std::function<SaveResult(QIODevice &)> &write, QString *error);

} // namespace InventoryReport
