#pragma once
// What the Home Inventory's search looks through for each asset: its description, make and
// model, serial number, vendor, location name, category name, notes and the names of its
// attachments, folded (SearchText) into one key per asset, the fields apart so that no word runs
// from one into the next.

#include <QByteArray>
#include <QHash>
#include <QtGlobal>

class CADODataBase;

namespace AssetSearch {

// The keys of the home's assets, of category categoryFilter only when it is above 0, by
// AssetId. Read with four statements however many assets there are. Empty on failure, which
// read (when given) tells apart from a home without assets; the engine's report is then the
// connection's last error.
QHash<qint32, QByteArray> keys(CADODataBase &db, qint32 homeId, qint32 categoryFilter,
                               bool *read = nullptr);

} // namespace AssetSearch
