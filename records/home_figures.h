#pragma once
// The figures the Home Today view sums a home up with, each from one aggregate statement, so
// they cost the same however many assets or loans a home has and need no view to be filled.

#include <QByteArray>
#include <QtGlobal>

class CADODataBase;
class CHome;

namespace HomeFigures {

// The CurrentValue of the home's assets added up in double precision (so the total never shows
// cents that no asset has); only category categoryFilter's when it is above 0. 0 on failure,
// which *counted (when given) tells apart from a real 0.
double inventoryTotal(CADODataBase &db, qint32 homeId, qint32 categoryFilter,
                      bool *counted = nullptr);

// The home's value less the Principal of its loans that affect its equity (AssetType 1), at
// single precision as the loan records hold money.
float equity(CADODataBase &db, const CHome &home);

// What tells the data file's present contents apart from any other: the change counter SQLite
// raises with every committed change (in its header), with the file's identity (device and
// inode, which a restore's rename changes), size and modification time. Empty when it cannot be
// told: no file, or a journal mode that leaves the counter alone.
// A figure remembered with a stamp still holds while the file's stamp is the same.
QByteArray fileStamp(CADODataBase &db);

} // namespace HomeFigures
