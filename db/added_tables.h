#pragma once
// What the program adds to the household's data file beyond the seven tables it has always had
// (and the handheld shares): indexes that later versions read, and the tables of features the
// handheld knows nothing of. Each is created when missing, so a file from an older version, a
// restored backup or a file copied back from the handheld gets them the first time it is opened.
//
// The added tables are keyed by the engine (INTEGER PRIMARY KEY), never through TableIds, and
// never travel to the handheld: the device copy names the seven original tables only.

#include <QtGlobal>

#include <vector>

class CADODataBase;

namespace AddedTables {

// The statements that create what is missing, one statement each, every one IF NOT EXISTS.
const std::vector<const char *> &statements();

// Runs statements() in one transaction. False (with the connection's report) when one fails;
// nothing is then added.
bool ensure(CADODataBase &db);

// The added tables' rows that belong to an asset or a home, removed with it. Run inside the
// transaction of the asset's or home's own delete, so that the record and its rows go together.
bool deleteAssetRows(CADODataBase &db, qint32 assetId);
bool deleteHomeRows(CADODataBase &db, qint32 homeId);

} // namespace AddedTables
