#pragma once
// Small shared services over the data file: one value by key, and filling lists and drop-downs
// with one entry per row. Failures leave the list or drop-down empty (a drop-down keeps its
// first entry) and the lookup empty; nothing is shown to the user.

#include <QString>
#include <QtGlobal>

#include <functional>

class CADODataBase;
class CComboModel;
class CListModel;

namespace Lookups {

constexpr qint32 kVideoCategoryId = 19;

enum CategoryType { AssetCategory = 1, TaskCategory = 2, Store = 3 };

// Column result of the row of table whose keyColumn equals key, read as text; empty if none.
QString lookUpValue(CADODataBase &db, qint32 key, const QString &table, const QString &keyColumn,
                    const QString &resultColumn);

// Fills list with one row per record of table (its Description, the id as the row's value),
// ordered by description, selecting the row whose id is selectId. where and extraColumns are
// the caller's fixed texts (e.g. "WHERE HomeId=12", "CurrentValue, Picture2, CategoryId").
// Returns the sum of CurrentValue for "Assets", else 0. Asset rows get image 2 for videos,
// 1 when they have a picture, else 0. exactTotal, when given, receives the same sum taken over
// the stored doubles in double precision (a float sum drifts by cents over many rows). read,
// when given, tells whether the rows could be read: a failed read lists nothing, which is then
// no empty table. adjustImage, when given, has the last word on each row's image (id, image as
// above).
float fillList(CADODataBase &db, CListModel &list, const QString &table, const QString &idColumn,
               qint32 selectId, const QString &where = QString(),
               const QString &extraColumns = QString(), double *exactTotal = nullptr,
               bool *read = nullptr,
               const std::function<int(qint32 id, int image)> &adjustImage = {});

// Fills combo from a statement whose columns are id, text[, detail]. firstEntry (when not
// empty) comes first with the value 0. Entry 0 is selected, then the entry holding selectId.
void fillCombo(CADODataBase &db, CComboModel &combo, qint32 selectId, const QString &sql,
               bool withDetail, const QString &firstEntry);

// The categories of one kind, after "(optional)" or "Please select...".
void fillCategoryCombo(CADODataBase &db, CComboModel &combo, qint32 selectId, int categoryType,
                       bool optional);

// The pieces of a ";"-separated string-table entry; selects the one equal to select
// (ignoring letter case) when there is one.
void fillComboFromTextList(CComboModel &combo, const QString &select, int stringId);

// The first selected row's id and index; false when nothing is selected or its id is 0.
bool selectedRow(const CListModel &list, qint32 &id, int &row);
// The first selected row's id; 0 when there is none.
qint32 selectedId(const CListModel &list);

} // namespace Lookups
