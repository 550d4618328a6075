#include "report/label_contents.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "records/home.h"
#include "records/label_code.h"
#include "report/report_contents.h"

#include <algorithm>

namespace Labels {
namespace {

// A category of another kind, or a location of another home, joins no row: such an asset
// counts as one without, as in the inventory report.
const char kAssets[] =
    "SELECT a.AssetId, a.Description, c.CategoryId AS FoundCategory, l.AreaId AS FoundLocation, "
    "l.Description AS Location FROM (Assets AS a LEFT JOIN Categories AS c "
    "ON a.CategoryId = c.CategoryId AND c.CategoryType = %d) LEFT JOIN Areas AS l "
    "ON a.AreaId = l.AreaId AND l.HomeId = a.HomeId WHERE a.HomeId=%ld";

struct Row
{
    qint32 id = 0;
    QString description;
    qint32 category = InventoryReport::kNone;
    qint32 location = InventoryReport::kNone;
    QString place;
};

bool readRows(CADODataBase &db, const QString &sql, std::vector<Row> &rows, QString *error)
{
    CADORecordset rs(db);
    if (!rs.Open(sql)) {
        if (error)
            *error = rs.GetLastError();
        return false;
    }
    for (; !rs.IsEof(); rs.MoveNext()) {
        Row row;
        rs.GetLong(QStringLiteral("AssetId"), row.id);
        rs.GetString(QStringLiteral("Description"), row.description);
        rs.GetLong(QStringLiteral("FoundCategory"), row.category);
        rs.GetLong(QStringLiteral("FoundLocation"), row.location);
        if (row.location != InventoryReport::kNone)
            rs.GetString(QStringLiteral("Location"), row.place);
        rows.push_back(std::move(row));
    }
    return true;
}

bool chosen(const Row &row, const Request &request)
{
    switch (request.choice) {
    case Choice::TickedCategories:
        return request.ticked.contains(row.category);
    case Choice::TickedLocations:
        return request.ticked.contains(row.location);
    default:
        return true;
    }
}

Label assetLabel(qint32 homeId, const Row &row)
{
    return { LabelCode::text({ LabelCode::Kind::Asset, homeId, row.id }), row.description,
             row.place, assetNumber(row.id) };
}

bool loadAssets(CADODataBase &db, qint32 homeId, const Request &request, std::vector<Label> &labels,
                QString *error)
{
    const int categoryType = int(Lookups::AssetCategory);
    std::vector<Row> rows;
    if (request.choice == Choice::SelectedAssets) {
        // Few, and in the order given: one look-up each rather than the whole home.
        for (qint32 id : request.selected) {
            if (!readRows(db,
                          sqlText(kAssets, categoryType, long(homeId))
                              + sqlText(" AND a.AssetId=%ld;", long(id)),
                          rows, error))
                return false;
        }
    } else {
        QString sql = sqlText(kAssets, categoryType, long(homeId));
        if (request.choice == Choice::AssetNumbers)
            sql += sqlText(" AND a.AssetId BETWEEN %ld AND %ld ORDER BY a.AssetId",
                           long(std::min(request.first, request.last)),
                           long(std::max(request.first, request.last)));
        if (!readRows(db, sql + QLatin1Char(';'), rows, error))
            return false;
        std::erase_if(rows, [&](const Row &row) { return !chosen(row, request); });
        if (request.choice != Choice::AssetNumbers)
            std::sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
                const bool aNone = a.location == InventoryReport::kNone;
                const bool bNone = b.location == InventoryReport::kNone;
                if (aNone != bNone)
                    return bNone;
                if (const int c = a.place.compare(b.place, Qt::CaseInsensitive))
                    return c < 0;
                if (a.location != b.location)
                    return a.location < b.location;
                if (const int c = a.description.compare(b.description, Qt::CaseInsensitive))
                    return c < 0;
                return a.id < b.id;
            });
    }
    labels.reserve(rows.size());
    for (const Row &row : rows)
        labels.push_back(assetLabel(homeId, row));
    return true;
}

bool loadLocations(CADODataBase &db, qint32 homeId, const Request &request,
                   std::vector<Label> &labels, QString *error)
{
    CHome home(homeId);
    if (!home.Load(db)) {
        if (error)
            *error = QStringLiteral("The home cannot be read from the data file.");
        return false;
    }
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT AreaId, Description FROM Areas WHERE HomeId=%ld "
                         "ORDER BY Description, AreaId;",
                         long(homeId)))) {
        if (error)
            *error = rs.GetLastError();
        return false;
    }
    for (; !rs.IsEof(); rs.MoveNext()) {
        qint32 id = 0;
        QString description;
        rs.GetLong(0, id);
        rs.GetString(1, description);
        if (request.ticked.contains(id))
            labels.push_back({ LabelCode::text({ LabelCode::Kind::Location, homeId, id }),
                               description, home.m_strDescription, locationNumber(id) });
    }
    return true;
}

} // namespace

QString assetNumber(qint32 assetId)
{
    return QStringLiteral("Domelio #%1").arg(assetId);
}

QString locationNumber(qint32 locationId)
{
    return QStringLiteral("Domelio location #%1").arg(locationId);
}

std::pair<qint32, qint32> assetNumberRange(CADODataBase &db, qint32 homeId)
{
    std::pair<qint32, qint32> range { 0, 0 };
    CADORecordset rs(db);
    if (rs.Open(sqlText("SELECT MIN(AssetId), MAX(AssetId) FROM Assets WHERE HomeId=%ld;",
                        long(homeId)))
        && !rs.IsEof()) {
        rs.GetLong(0, range.first);
        rs.GetLong(1, range.second);
    }
    return range;
}

bool load(CADODataBase &db, qint32 homeId, const Request &request, std::vector<Label> &labels,
          QString *error)
{
    labels.clear();
    if (request.choice == Choice::LocationLabels)
        return loadLocations(db, homeId, request, labels, error);
    return loadAssets(db, homeId, request, labels, error);
}

} // namespace Labels
