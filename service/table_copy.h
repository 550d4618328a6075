#pragma once
// The filter's work: copy the listed tables from one SQLite file into another in one
// transaction. The target keeps its own table definitions when it has them (the source must
// then offer every column the target has); a table the target lacks is created as the source
// defines it, with its indexes. Nothing in the target changes unless every table was copied.

#include "platform/device_filter.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace TableCopy {

// "Areas..Assets..": each name followed by two periods, nothing else. Names are plain
// identifiers, each listed once; anything else gives nothing.
std::optional<QStringList> parseTableList(const char *text);

// source must exist. target must exist unless createTarget is set; a new target starts empty.
DeviceFilter::Result copy(const QString &source, const QString &target, const QStringList &tables,
                          bool createTarget);

} // namespace TableCopy
