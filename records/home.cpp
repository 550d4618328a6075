#include "records/home.h"

#include "db/added_tables.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"

namespace {

const char *const kLoadStatement = "SELECT * FROM Homes WHERE HomeId=%ld;";

} // namespace

bool CHome::Load(CADODataBase &db)
{
    if (!Exists())
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(m_id))) || rs.IsEof())
        return false;
    rs.GetString(QStringLiteral("Description"), m_strDescription);
    rs.GetString(QStringLiteral("Address"), m_strAddress);
    rs.GetFloat(QStringLiteral("CurrentValue"), m_fCurrentValue);
    rs.GetString(QStringLiteral("Picture2"), m_strPicture);
    rs.GetString(QStringLiteral("Notes"), m_strNotes);
    return true;
}

bool CHome::Save(CADODataBase &db)
{
    return saveRow(db, "Homes", "INSERT INTO [Homes] ([HomeId]) VALUES (%ld);", kLoadStatement,
                   [&](CADORecordset &rs) {
                       return rs.SetString(QStringLiteral("Description"), m_strDescription)
                           && rs.SetString(QStringLiteral("Address"), m_strAddress)
                           && rs.SetDouble(QStringLiteral("CurrentValue"), double(m_fCurrentValue))
                           && rs.SetString(QStringLiteral("Picture2"), m_strPicture)
                           && rs.SetString(QStringLiteral("Notes"), m_strNotes);
                   });
}

bool CHome::Delete(CADODataBase &db)
{
    if (!Exists())
        return false;
    const long id = m_id;
    bool allDone = true;
    for (const char *statement :
         { "DELETE FROM Homes WHERE HomeId=%ld;", "DELETE FROM Assets WHERE HomeId=%ld;",
           "DELETE FROM Areas WHERE HomeId=%ld;", "DELETE FROM Loans WHERE AssetId=%ld;" }) {
        if (!db.Execute(sqlText(statement, id)))
            allDone = false;
    }
    // The rows the program keeps beside the original tables (plans, attachments) would be left
    // with no home to show them in.
    if (!AddedTables::deleteHomeRows(db, m_id))
        allDone = false;
    return allDone;
}
