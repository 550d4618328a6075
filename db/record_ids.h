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

// The first of count consecutive new identifiers, for work that adds many rows at once (an
// import): none of them is taken by a row, and the counter moves past the last. -1 when they
// cannot be had, as for nextId.
qint32 nextIds(CADODataBase &db, const QString &table, qint32 count);
// Hands back the unused end of a block nextIds gave, the ids from first up to end (not
// included), when the counter still stands right after the block: it returns to first.
// Otherwise the counter stays where it is, ahead of every row either way.
bool giveBack(CADODataBase &db, const QString &table, qint32 first, qint32 end);

} // namespace RecordIds
