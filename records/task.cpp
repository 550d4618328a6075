#include "records/task.h"

#include "controls/combo_model.h"
#include "controls/list_model.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "format/display_text.h"
#include "platform/busy.h"

namespace {

const char *const kLoadStatement = "SELECT * FROM Tasks WHERE TaskId=%ld;";

// The kind clause of the Tasks view's statements, by filter.
const char *kindClause(qint32 filter)
{
    switch (filter) {
    case TaskList::GeneralOnly:
        return " AND TaskType <> %ld ";
    case TaskList::ShoppingOnly:
        return " AND TaskType = %ld ";
    default:
        return "";
    }
}

QString pickedStatement(const char *head, const char *tail, qint32 filter)
{
    return sqlText((QByteArray(head) + kindClause(filter) + tail).constData(),
                   long(CTask::ShoppingItem));
}

} // namespace

// --- one task ---------------------------------------------------------------------------------

bool CTask::Load(CADODataBase &db)
{
    if (!Exists())
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(m_id))) || rs.IsEof())
        return false;
    ReadFrom(rs);
    return true;
}

void CTask::ReadFrom(CADORecordset &rs)
{
    rs.GetLong(QStringLiteral("TaskId"), m_id);
    rs.GetLong(QStringLiteral("TaskType"), m_nTaskType);
    rs.GetLong(QStringLiteral("Status"), m_nStatus);
    rs.GetLong(QStringLiteral("Custom2"), m_nCustom2);
    rs.GetString(QStringLiteral("Description"), m_strDescription);
    rs.GetFloat(QStringLiteral("Cost"), m_fCost);
    rs.GetString(QStringLiteral("Vendor"), m_strVendor);
    rs.GetFloat(QStringLiteral("Custom1"), m_fCustom1);
    rs.GetString(QStringLiteral("Custom3"), m_strCustom3);
    rs.GetString(QStringLiteral("Notes"), m_strNotes);
    // A coupon is on or off, whatever number an older file or another program left there.
    if (IsShoppingItem() && m_nCustom2 != 0)
        m_nCustom2 = 1;
}

bool CTask::Save(CADODataBase &db)
{
    return saveRow(db, "Tasks", "INSERT INTO [Tasks] ([TaskId]) VALUES (%ld);", kLoadStatement,
                   [&](CADORecordset &rs) {
                       // TaskType and Status are 16-bit columns; Custom2 holds a category id and
                       // needs all 32 bits, or a category numbered above 32,767 would come back as
                       // another one.
                       return rs.SetString(QStringLiteral("Description"), m_strDescription)
                           && rs.SetInt(QStringLiteral("TaskType"), m_nTaskType)
                           && rs.SetInt(QStringLiteral("Status"), m_nStatus)
                           && rs.SetDouble(QStringLiteral("Cost"), double(m_fCost))
                           && rs.SetString(QStringLiteral("Vendor"), m_strVendor)
                           && rs.SetDouble(QStringLiteral("Custom1"), double(m_fCustom1))
                           && rs.SetLong(QStringLiteral("Custom2"), m_nCustom2)
                           && rs.SetString(QStringLiteral("Custom3"), m_strCustom3)
                           && rs.SetString(QStringLiteral("Notes"), m_strNotes);
                   });
}

bool CTask::Delete(CADODataBase &db)
{
    if (!Exists())
        return false;
    return db.Execute(sqlText("DELETE FROM Tasks WHERE TaskId=%ld;", long(m_id)));
}

bool CTask::SetStatus(CADODataBase &db, qint32 status)
{
    if (!Exists())
        return false;
    m_nStatus = status;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT TaskId, Status FROM Tasks WHERE TaskId=%ld;", long(m_id)))
        || rs.IsEof())
        return false;
    // The pool writes on every change of a row's state; a status already stored needs no
    // write (and leaves the file, and what was remembered with its stamp, as it was).
    qint32 stored = 0;
    if (rs.GetLong(QStringLiteral("Status"), stored) && stored == status)
        return true;
    rs.Edit();
    return rs.SetInt(QStringLiteral("Status"), status) && rs.Update();
}

QString CTask::TaskText() const
{
    if (!IsShoppingItem())
        return m_strDescription;
    QString text = QStringLiteral("Buy ");
    if (m_fCustom1 != 0.0f) {
        text += numberText(m_fCustom1, false, false) + QLatin1Char(' ');
        if (!m_strNotes.isEmpty())
            text += m_strNotes + QLatin1Char(' ');
    }
    text += m_strDescription;
    if (!m_strVendor.isEmpty())
        text += QStringLiteral(" @ ") + m_strVendor;
    if (!m_strCustom3.isEmpty())
        text += QStringLiteral(" (#") + m_strCustom3 + QLatin1Char(')');
    return text;
}

int CTask::ImageIndex() const
{
    if (!IsShoppingItem())
        return 0;
    return m_nCustom2 != 0 ? 2 : 1;
}

void CTask::FillListRow(CListModel &list, int row, bool poolMode, bool plainText) const
{
    list.SetItemText(row, 0, plainText ? m_strDescription : TaskText());
    if (poolMode) {
        list.SetItemData(row, m_id);
        list.SetCheck(row, m_nStatus != InPool);
    } else {
        list.SetItemData(row, m_nStatus == Done ? -m_id : m_id);
    }
    list.SetItemImage(row, ImageIndex());
}

// --- many tasks -------------------------------------------------------------------------------

namespace TaskList {

void fillPool(CADODataBase &db, CListModel &list, bool shopping)
{
    Busy::Scope busy;
    CListModel::BatchUpdate batch(list);
    list.DeleteAllItems();
    CADORecordset rs(db);
    const char *statement = shopping
        ? "SELECT * FROM Tasks WHERE TaskType = %ld ORDER BY Description;"
        : "SELECT * FROM Tasks WHERE TaskType <> %ld ORDER BY Description;";
    if (!rs.Open(sqlText(statement, long(CTask::ShoppingItem))))
        return;
    for (; !rs.IsEof(); rs.MoveNext()) {
        CTask task;
        task.ReadFrom(rs);
        const int row = list.InsertItem(list.GetItemCount(), QString());
        task.FillListRow(list, row, true, true);
    }
}

int fillPicked(CADODataBase &db, CListModel &list, qint32 filter)
{
    Busy::Scope busy;
    CListModel::BatchUpdate batch(list);
    list.DeleteAllItems();
    int active = 0;
    CADORecordset rs(db);
    if (!rs.Open(pickedStatement("SELECT * FROM Tasks WHERE Status<>0 ", " ORDER BY Description;",
                                 filter)))
        return 0;
    for (; !rs.IsEof(); rs.MoveNext()) {
        CTask task;
        task.ReadFrom(rs);
        if (task.m_nStatus == CTask::Active)
            ++active;
        const int row = list.InsertItem(list.GetItemCount(), QString());
        task.FillListRow(list, row, false, false);
    }
    return active;
}

int activeCount(CADODataBase &db, qint32 filter)
{
    CADORecordset rs(db);
    qint32 count = 0;
    if (!rs.Open(
            pickedStatement("SELECT COUNT(*) AS Total FROM Tasks WHERE Status=1 ", ";", filter))
        || rs.IsEof() || !rs.GetLong(0, count))
        return 0;
    return count;
}

int clear(CADODataBase &db, bool doneOnly)
{
    // One transaction: a failure half-way leaves every entry as it was, not half the list
    // cleared.
    CTransaction transaction(db);
    if (!transaction.isActive())
        return -1;
    CADORecordset rs(db);
    if (!rs.Open(
            sqlText("SELECT TaskId, Status FROM Tasks WHERE Status<>%ld;", long(CTask::InPool))))
        return -1;
    int changed = 0;
    for (; !rs.IsEof(); rs.MoveNext()) {
        qint32 status = 0;
        rs.GetLong(QStringLiteral("Status"), status);
        if (doneOnly && status != CTask::Done)
            continue;
        rs.Edit();
        if (!rs.SetInt(QStringLiteral("Status"), CTask::InPool) || !rs.Update())
            return -1;
        ++changed;
    }
    rs.Close();
    if (changed > 0 && !transaction.commit())
        return -1;
    return changed;
}

void fillStores(CADODataBase &db, CComboModel &combo)
{
    Lookups::fillCombo(db, combo, 0,
                       sqlText("SELECT CategoryId, Description FROM Categories WHERE "
                               "CategoryType=%d ORDER BY Description;",
                               int(Lookups::Store)),
                       false, QString());
    combo.SetCurSel(-1);
}

} // namespace TaskList
