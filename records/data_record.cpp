#include "records/data_record.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/record_ids.h"
#include "db/sql_text.h"

bool CDataRecord::saveRow(CADODataBase &db, const char *table, const char *insertStatement,
                          const char *loadStatement,
                          const std::function<bool(CADORecordset &)> &writeColumns)
{
    CTransaction transaction(db);
    if (!transaction.isActive())
        return false;

    const qint32 savedId = m_id;
    if (!Exists()) {
        const qint32 newId = RecordIds::nextId(db, QString::fromLatin1(table));
        // The allocator answers -1 when it cannot give an id; a row keyed -1 or 0 would read as
        // "none" everywhere and could never be reached again.
        if (newId <= 0)
            return false;
        if (!db.Execute(sqlText(insertStatement, long(newId))))
            return false;
        m_id = newId;
    }

    CADORecordset rs(db);
    const bool written = [&] {
        if (!rs.Open(sqlText(loadStatement, long(m_id))) || rs.IsEof())
            return false;
        rs.Edit();
        return writeColumns(rs) && rs.Update();
    }();
    rs.Close();
    if (!written || !transaction.commit()) {
        m_id = savedId;
        return false;
    }
    return true;
}
