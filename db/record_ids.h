#pragma once
// Record identifiers: every table that takes ids has a counter row in TableIds holding the id
// its next new row receives.

#include <QString>
#include <QtGlobal>

class CADODataBase;

namespace RecordIds {

// The new identifier for table ("Areas", "Assets", "Categories", "Homes", "Loans", "Tasks"),
// or -1 when none can be had (no counter row, a broken counter, a database error). The
// counter is read and advanced in one transaction; an id still taken by a row is skipped.
qint32 nextId(CADODataBase &db, const QString &table);

} // namespace RecordIds
