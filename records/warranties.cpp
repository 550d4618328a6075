#include "records/warranties.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "records/asset.h"

#include <cmath>

namespace {

long dayNumber(const QDate &date)
{
    return long(COleDateTime::fromDate(date).days());
}

// The conditions both statements share: the home's dated assets from firstDay up to (not
// including) endDay, without the video titles and without the "no warranty" year (the
// statement's form of CAsset::isNoWarrantyDate).
QString datedAssets(qint32 homeId, long firstDay, long endDay)
{
    return sqlText("HomeId=%ld AND WarrantyExpiration>=%ld AND WarrantyExpiration<%ld AND "
                   "CategoryId IS NOT %ld AND NOT (WarrantyExpiration>=%ld AND "
                   "WarrantyExpiration<%ld)",
                   long(homeId), firstDay, endDay, long(CAsset::kVideoCategoryId),
                   dayNumber(QDate(CAsset::kNoWarrantyYear, 1, 1)),
                   dayNumber(QDate(CAsset::kNoWarrantyYear + 1, 1, 1)));
}

} // namespace

namespace Warranties {

Group groupOf(int daysLeft)
{
    if (daysLeft < 0)
        return Group::Ended;
    return daysLeft <= kEndingWithin ? Group::EndingSoon : Group::EndingThisYear;
}

QString groupTitle(Group group)
{
    switch (group) {
    case Group::Ended:
        return QStringLiteral("Ended in the last %1 days").arg(kEndedWithin);
    case Group::EndingSoon:
        return QStringLiteral("Ending within %1 days").arg(kEndingWithin);
    case Group::EndingThisYear:
        break;
    }
    return QStringLiteral("Ending within 12 months");
}

QString daysText(int daysLeft)
{
    if (daysLeft == 0)
        return QStringLiteral("ends today");
    if (daysLeft == 1)
        return QStringLiteral("1 day left");
    if (daysLeft > 1)
        return QStringLiteral("%1 days left").arg(daysLeft);
    if (daysLeft == -1)
        return QStringLiteral("ended 1 day ago");
    return QStringLiteral("ended %1 days ago").arg(-daysLeft);
}

QString countStatement(qint32 homeId, const QDate &today)
{
    const long day = dayNumber(today);
    return sqlText("SELECT COUNT(CASE WHEN WarrantyExpiration<%ld THEN 1 END), "
                   "COUNT(CASE WHEN WarrantyExpiration>=%ld THEN 1 END) FROM Assets WHERE ",
                   day, day)
        + datedAssets(homeId, day - kEndedWithin, day + kEndingWithin + 1) + QLatin1Char(';');
}

Counts count(CADODataBase &db, qint32 homeId, const QDate &today)
{
    Counts counts;
    CADORecordset rs(db);
    if (!rs.Open(countStatement(homeId, today)) || rs.IsEof())
        return counts;
    qint32 ended = 0, ending = 0;
    rs.GetLong(0, ended);
    rs.GetLong(1, ending);
    counts.ended = ended;
    counts.ending = ending;
    return counts;
}

QString todayLine(const Counts &counts, const QLocale &locale)
{
    const auto number = [&locale](int n) { return numberText(float(n), false, false, locale); };
    const QString within = QStringLiteral(" within %1 days").arg(kEndingWithin);
    const QString inTheLast = QStringLiteral(" ended in the last %1 days").arg(kEndedWithin);
    QString ending;
    if (counts.ending == 1)
        ending = QStringLiteral("1 warranty ends") + within;
    else if (counts.ending > 1)
        ending = number(counts.ending) + QStringLiteral(" warranties end") + within;
    if (counts.ended < 1)
        return ending;
    // Both: the warranties still running come first; the second part borrows the first's noun.
    if (!ending.isEmpty())
        return ending + QStringLiteral(", ") + number(counts.ended) + inTheLast;
    return number(counts.ended)
        + (counts.ended == 1 ? QStringLiteral(" warranty") : QStringLiteral(" warranties"))
        + inTheLast;
}

std::vector<Entry> list(CADODataBase &db, qint32 homeId, const QDate &today)
{
    std::vector<Entry> entries;
    const long day = dayNumber(today);
    CADORecordset rs(db);
    const QString sql =
        QStringLiteral("SELECT AssetId, Description, WarrantyExpiration, (SELECT Description "
                       "FROM Areas WHERE Areas.AreaId=Assets.AreaId) AS Location FROM Assets "
                       "WHERE ")
        + datedAssets(homeId, day - kEndedWithin, day + kYearWithin + 1)
        + QStringLiteral(" ORDER BY WarrantyExpiration, Description;");
    if (!rs.Open(sql))
        return entries;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Entry entry;
        rs.GetLong(0, entry.assetId);
        rs.GetString(QStringLiteral("Description"), entry.description);
        rs.GetString(QStringLiteral("Location"), entry.location);
        rs.GetDate(QStringLiteral("WarrantyExpiration"), entry.date);
        entry.daysLeft = int(std::floor(entry.date.days()) - day);
        entry.group = groupOf(entry.daysLeft);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace Warranties
