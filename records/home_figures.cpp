#include "records/home_figures.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "records/home.h"

namespace {

double sumOf(CADODataBase &db, const QString &sql)
{
    CADORecordset rs(db);
    double sum = 0.0;
    if (!rs.Open(sql) || rs.IsEof() || !rs.GetDouble(QStringLiteral("Total"), sum))
        return 0.0;
    return sum;
}

} // namespace

namespace HomeFigures {

double inventoryTotal(CADODataBase &db, qint32 homeId, qint32 categoryFilter)
{
    if (categoryFilter > 0)
        return sumOf(db,
                     sqlText("SELECT TOTAL(CurrentValue) AS Total FROM Assets WHERE HomeId=%ld AND "
                             "CategoryId=%ld;",
                             long(homeId), long(categoryFilter)));
    return sumOf(db,
                 sqlText("SELECT TOTAL(CurrentValue) AS Total FROM Assets WHERE HomeId=%ld;", long(homeId)));
}

float equity(CADODataBase &db, const CHome &home)
{
    const double owed = sumOf(
        db,
        sqlText("SELECT TOTAL(Principal) AS Total FROM Loans WHERE AssetId=%ld AND AssetType=1;",
                long(home.id())));
    return home.m_fCurrentValue - float(owed);
}

} // namespace HomeFigures
