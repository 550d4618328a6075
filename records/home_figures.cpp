#include "records/home_figures.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "records/home.h"

#include <QFile>

#include <sys/stat.h>

namespace {

double sumOf(CADODataBase &db, const QString &sql, bool *counted = nullptr)
{
    CADORecordset rs(db);
    double sum = 0.0;
    const bool ok = rs.Open(sql) && !rs.IsEof() && rs.GetDouble(QStringLiteral("Total"), sum);
    if (counted)
        *counted = ok;
    return ok ? sum : 0.0;
}

} // namespace

namespace HomeFigures {

double inventoryTotal(CADODataBase &db, qint32 homeId, qint32 categoryFilter, bool *counted)
{
    if (categoryFilter > 0)
        return sumOf(db,
                     sqlText("SELECT TOTAL(CurrentValue) AS Total FROM Assets WHERE HomeId=%ld AND "
                             "CategoryId=%ld;",
                             long(homeId), long(categoryFilter)),
                     counted);
    return sumOf(
        db,
        sqlText("SELECT TOTAL(CurrentValue) AS Total FROM Assets WHERE HomeId=%ld;", long(homeId)),
        counted);
}

float equity(CADODataBase &db, const CHome &home)
{
    const double owed = sumOf(
        db,
        sqlText("SELECT TOTAL(Principal) AS Total FROM Loans WHERE AssetId=%ld AND AssetType=1;",
                long(home.id())));
    return home.m_fCurrentValue - float(owed);
}

QByteArray fileStamp(CADODataBase &db)
{
    if (!db.IsOpen() || db.GetDataSource().isEmpty())
        return {};
    QFile file(db.GetDataSource());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(100);
    // Bytes 18 and 19 are 1 in rollback-journal mode, the only mode that raises the counter at
    // every commit (bytes 24 to 27).
    if (header.size() < 100 || !header.startsWith("SQLite format 3") || header[18] != 1
        || header[19] != 1)
        return {};
    struct stat info = {};
    if (::fstat(file.handle(), &info) != 0)
        return {};
    return header.mid(24, 4).toHex() + ':' + QByteArray::number(quint64(info.st_dev)) + ':'
        + QByteArray::number(quint64(info.st_ino)) + ':' + QByteArray::number(qint64(info.st_size))
        + ':' + QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.'
        + QByteArray::number(qint64(info.st_mtim.tv_nsec));
}

} // namespace HomeFigures
