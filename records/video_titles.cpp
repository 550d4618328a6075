#include "records/video_titles.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "platform/ole_date.h"
#include "records/asset.h"

namespace VideoTitles {

std::vector<Title> search(CADODataBase &db, const QString &genre)
{
    std::vector<Title> titles;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT AssetId, Description, WarrantyExpiration, MakeModel FROM Assets "
                         "WHERE CategoryId=%d ORDER BY Description;",
                         int(CAsset::kVideoCategoryId))))
        return titles;
    titles.reserve(size_t(rs.GetRecordCount()));
    const QString description = QStringLiteral("Description");
    const QString released = QStringLiteral("WarrantyExpiration");
    const QString makeModel = QStringLiteral("MakeModel");
    for (; !rs.IsEof(); rs.MoveNext()) {
        QString rowGenre;
        rs.GetString(makeModel, rowGenre);
        if (!genre.isEmpty() && rowGenre != genre)
            continue;
        Title title;
        rs.GetLong(0, title.assetId);
        rs.GetString(description, title.title);
        COleDateTime date = CAsset::noWarrantyDate();
        rs.GetDate(released, date);
        title.year = date.year();
        titles.push_back(std::move(title));
    }
    return titles;
}

int lastReleaseYear(const QDate &today)
{
    return today.year() + 1;
}

} // namespace VideoTitles
