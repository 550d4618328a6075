#pragma once
// CTask: one row of Tasks, which holds two kinds of entries: general household tasks and
// shopping items. Several columns mean different things for the two kinds:
//
//   column    general task                   shopping item
//   Notes     free notes                     unit of the quantity ("gal")
//   Cost      kept as stored                 price
//   Custom1   kept as stored                 quantity
//   Custom2   task category id (0 = none)    coupon flag, 0 or 1
//   Custom3   contact's phone number         aisle or place in the store
//   Vendor    contact                        the store's name
//
// Status 0 keeps an entry in the pool only, 1 makes it active (picked for the Tasks view), 2
// marks it done.

#include "records/data_record.h"

class CADODataBase;
class CADORecordset;
class CComboModel;
class CListModel;

class CTask : public CDataRecord
{
public:
    enum Type : qint32 { GeneralTask = 1, ShoppingItem = 2 };
    enum TaskStatus : qint32 { InPool = 0, Active = 1, Done = 2 };

    CTask() = default;
    explicit CTask(qint32 id) { m_id = id; }

    bool IsShoppingItem() const { return m_nTaskType == ShoppingItem; }

    // Reads the row; false when the task is not stored or its row has gone (the fields are then
    // left as they were).
    bool Load(CADODataBase &db);
    // Reads the current row of a recordset that selects Tasks columns, as Load does.
    void ReadFrom(CADORecordset &rs);
    // Stores the record, taking a new id first when it has none. Key and columns land together
    // or not at all; on failure a new record keeps id -1.
    bool Save(CADODataBase &db);
    bool Delete(CADODataBase &db);
    // Writes Status alone (nothing else of the row is touched). The value in memory changes
    // even when the row is missing; the result says whether the row was written.
    bool SetStatus(CADODataBase &db, qint32 status);

    // The one-line text: a general task's description, or for a shopping item
    // "Buy 2 gal Milk @ Corner Market (#5)" with the parts that are empty left out.
    QString TaskText() const;
    // Row image: 0 general task, 1 shopping item, 2 shopping item with a coupon.
    int ImageIndex() const;
    // Fills row of a list for this task. Pool mode: the id as the row's data and the check box
    // ticked when the entry is picked. Otherwise (Tasks view) the id for an active entry and
    // its negative for a done one. plainText shows the description instead of the task text.
    void FillListRow(CListModel &list, int row, bool poolMode, bool plainText) const;

    qint32 m_nTaskType = 0;
    qint32 m_nStatus = InPool;
    float m_fCost = 0.0f;
    float m_fCustom1 = 0.0f;
    qint32 m_nCustom2 = 0;
    QString m_strCustom3;
    QString m_strVendor;
};

// The queries over many tasks: the pool, the Tasks view's list and its count, and clearing.
namespace TaskList {

// The Tasks view's kind filter (the TasksFilter setting).
enum Filter : qint32 { AllTasks = 0, GeneralOnly = 1, ShoppingOnly = 2 };

// Lists the pool of one kind ordered by description, each row by its description with its
// check box showing whether it is picked.
void fillPool(CADODataBase &db, CListModel &list, bool shopping);

// Lists the picked entries (status not 0) of the filter's kind by description, as the Tasks
// view shows them; returns how many of them are active (status 1).
int fillPicked(CADODataBase &db, CListModel &list, qint32 filter);

// The number of active entries of the filter's kind, from one aggregate statement: the same
// number fillPicked returns, without listing anything.
int activeCount(CADODataBase &db, qint32 filter);

// Returns picked entries to the pool (status 0): all of them, or only the done ones. Never
// deletes a row. Returns how many entries changed, -1 when the data file failed (nothing is
// changed then).
int clear(CADODataBase &db, bool doneOnly);

// The stores (store categories) by description, for the shopping item's store drop-down.
void fillStores(CADODataBase &db, CComboModel &combo);

} // namespace TaskList
