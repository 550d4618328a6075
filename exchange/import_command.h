#pragma once
// File > Import Inventory Data...: asks for the file, reads it, opens the Import Inventory Data
// dialog on it and says what the import did, offering to keep the list of skipped rows as a CSV
// file beside the source.

class CADODataBase;
class CHome;
class QWidget;

namespace Import {

// True when the import changed the data file (the views then show it afresh).
bool importInventory(QWidget *owner, CADODataBase &db, const CHome &home);

} // namespace Import
