#pragma once
// The category rows of the Categories table: asset categories, task categories and stores in
// one table, told apart by CategoryType. There is no record class for them; the Categories
// dialog creates, renames and deletes them through these operations.

#include <QString>
#include <QtGlobal>

class CADODataBase;

namespace Categories {

// A new category of kind categoryType named name (empty is allowed and stored as NULL). The
// key, the name and the kind land together: on any failure nothing is stored and the result is
// -1, so no nameless row is ever left behind.
qint32 create(CADODataBase &db, const QString &name, int categoryType);

// Renames the category; false when it is not stored or the write failed.
bool rename(CADODataBase &db, qint32 categoryId, const QString &name);

// Deletes the category, then clears the CategoryId of every asset that named it (the assets
// stay in the inventory without a category). Tasks keep their task category id and shopping
// items their store's name. The delete and the clearing land together; false (nothing changed)
// when either failed.
bool remove(CADODataBase &db, qint32 categoryId);

} // namespace Categories
