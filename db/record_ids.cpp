#include "db/record_ids.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"

#include <limits>

namespace {

// The key column of each table that takes ids.
QString keyColumnOf(const QString &table)
{
    static const std::pair<const char *, const char *> keys[] = {
        { "Areas", "AreaId" }, { "Assets", "AssetId" }, { "Categories", "CategoryId" },
        { "Homes", "HomeId" }, { "Loans", "LoanId" },   { "Tasks", "TaskId" }
    };
    for (auto [t, k] : keys) {
        if (table == QLatin1String(t))
            return QLatin1String(k);
    }
    return {};
}

bool idTaken(CADODataBase &db, const QString &table, const QString &key, qint32 id)
{
    CADORecordset rs(db);
    // Both names are the program's constants (checked by keyColumnOf), the id a number.
    if (!rs.Open(QStringLiteral("SELECT %1 FROM %2 WHERE %1=%3;").arg(key, table).arg(id)))
        return true; // unknown: do not hand it out
    return !rs.IsEof();
}

} // namespace

bool isPlainIdentifier(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

namespace RecordIds {

qint32 nextId(CADODataBase &db, const QString &table)
{
    const QString key = keyColumnOf(table);
    if (key.isEmpty())
        return -1;
    CTransaction transaction(db);
    if (!transaction.isActive())
        return -1;
    CADORecordset rs(db);
    if (!rs.Open(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='%1';").arg(table)))
        return -1;
    qint32 id = -1;
    if (rs.IsEof() || !rs.GetLong(QStringLiteral("NextId"), id))
        return -1;
    rs.Close();
    // 0 and negative ids mean "none" and "never saved": a counter there is broken.
    if (id < 1)
        return -1;
    // A counter left behind by a copied or repaired file may point at rows that exist.
    for (int tries = 0; id < std::numeric_limits<qint32>::max() && idTaken(db, table, key, id);
         ++tries) {
        if (tries > 100000)
            return -1;
        ++id;
    }
    if (id == std::numeric_limits<qint32>::max())
        return -1;
    if (!db.Execute(QStringLiteral("UPDATE TableIds SET NextId=%1 WHERE TableName='%2';")
                        .arg(id + 1)
                        .arg(table)))
        return -1;
    return transaction.commit() ? id : -1;
}

qint32 nextIds(CADODataBase &db, const QString &table, qint32 count)
{
    const QString key = keyColumnOf(table);
    if (key.isEmpty() || count < 1)
        return -1;
    CTransaction transaction(db);
    if (!transaction.isActive())
        return -1;
    qint32 id = -1;
    {
        CADORecordset rs(db);
        if (!rs.Open(QStringLiteral("SELECT NextId FROM TableIds WHERE TableName='%1';").arg(table))
            || rs.IsEof() || !rs.GetLong(QStringLiteral("NextId"), id))
            return -1;
    }
    if (id < 1)
        return -1;
    // Past the rows that already hold ids in the block, until a whole block is free.
    for (int tries = 0;; ++tries) {
        if (tries > 1000 || qint64(id) + count > std::numeric_limits<qint32>::max())
            return -1;
        CADORecordset rs(db);
        if (!rs.Open(QStringLiteral("SELECT MAX(%1) FROM %2 WHERE %1 BETWEEN %3 AND %4;")
                         .arg(key, table)
                         .arg(id)
                         .arg(qint64(id) + count - 1)))
            return -1;
        qint32 taken = 0;
        if (rs.IsEof() || !rs.GetLong(0, taken) || taken < id)
            break;
        id = taken + 1;
    }
    if (!db.Execute(QStringLiteral("UPDATE TableIds SET NextId=%1 WHERE TableName='%2';")
                        .arg(qint64(id) + count)
                        .arg(table)))
        return -1;
    return transaction.commit() ? id : -1;
}

bool giveBack(CADODataBase &db, const QString &table, qint32 first, qint32 end)
{
    if (keyColumnOf(table).isEmpty() || first < 1 || end <= first)
        return false;
    return db.Execute(QStringLiteral("UPDATE TableIds SET NextId=%1 WHERE TableName='%2' AND "
                                     "NextId=%3;")
                          .arg(first)
                          .arg(table)
                          .arg(end));
}

} // namespace RecordIds
