#include "records/categories.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/record_ids.h"
#include "db/sql_text.h"

namespace Categories {

qint32 create(CADODataBase &db, const QString &name, int categoryType)
{
    CTransaction transaction(db);
    if (!transaction.isActive())
        return -1;
    const qint32 id = RecordIds::nextId(db, QStringLiteral("Categories"));
    if (id <= 0)
        return -1;
    if (!db.Execute(sqlText("INSERT INTO [Categories] ([CategoryId]) VALUES (%ld);", long(id))))
        return -1;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT * FROM Categories WHERE CategoryId=%ld;", long(id))) || rs.IsEof())
        return -1;
    rs.Edit();
    const bool written = rs.SetString(QStringLiteral("Description"), name)
        && rs.SetInt(QStringLiteral("CategoryType"), int(qint16(categoryType))) && rs.Update();
    rs.Close();
    if (!written || !transaction.commit())
        return -1;
    return id;
}

bool rename(CADODataBase &db, qint32 categoryId, const QString &name)
{
    if (categoryId <= 0)
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryId=%ld;",
                         long(categoryId)))
        || rs.IsEof())
        return false;
    rs.Edit();
    return rs.SetString(QStringLiteral("Description"), name) && rs.Update();
}

bool remove(CADODataBase &db, qint32 categoryId)
{
    // The row and the references to it go together: a delete whose clearing failed would leave
    // assets pointing at a category that no list shows any more.
    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;
    if (!db.Execute(sqlText("DELETE FROM Categories WHERE CategoryId=%ld;", long(categoryId))))
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT CategoryId FROM Assets WHERE CategoryId=%ld;", long(categoryId))))
        return false;
    while (!rs.IsEof()) {
        rs.Edit();
        if (!rs.SetLong(QStringLiteral("CategoryId"), 0) || !rs.Update())
            return false;
        rs.MoveNext();
    }
    rs.Close();
    return transaction.commit();
}

} // namespace Categories
