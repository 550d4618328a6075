#include "report/report_contents.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/lookups.h"
#include "db/sql_text.h"
#include "records/asset.h"
#include "records/home.h"

#include <QCollator>
#include <QHash>

#include <algorithm>

namespace InventoryReport {
namespace {

// Only the columns the report shows. A category of another kind, or a location of another home,
// joins no row: such an asset is listed with the assets that have none.
const char kAssetsQuery[] =
    "SELECT a.AssetId, a.Description, a.CategoryId, c.CategoryId AS FoundCategory, "
    "c.Description AS Category, l.AreaId AS FoundLocation, l.Description AS Location, "
    "a.MakeModel, a.SerialNumber, a.Vendor, a.PurchasePrice, a.PurchaseDate, a.CurrentValue, "
    "a.ReplacementValue, a.WarrantyExpiration, a.Picture2, a.Notes "
    "FROM (Assets AS a LEFT JOIN Categories AS c ON a.CategoryId = c.CategoryId "
    "AND c.CategoryType = %d) LEFT JOIN Areas AS l ON a.AreaId = l.AreaId AND l.HomeId = a.HomeId "
    "WHERE a.HomeId=%ld;";

// The collator every name list of the report is sorted with: letter case is no difference, an
// accent is only after the letters (ICU's rules for the locale).
QCollator nameCollator(const QLocale &locale)
{
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

// The choices of a statement whose columns are id and name, by name as the locale sorts names
// (the file's NOCASE order knows only ASCII), then by id.
std::vector<Choice> readChoices(CADODataBase &db, const QString &sql, const QLocale &locale)
{
    std::vector<Choice> choices;
    CADORecordset rs(db);
    if (!rs.Open(sql))
        return choices;
    for (; !rs.IsEof(); rs.MoveNext()) {
        Choice choice;
        rs.GetLong(0, choice.id);
        rs.GetString(1, choice.name);
        choices.push_back(choice);
    }
    const QCollator collator = nameCollator(locale);
    std::stable_sort(choices.begin(), choices.end(), [&](const Choice &a, const Choice &b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return choices;
}

Asset readAsset(CADORecordset &rs)
{
    Asset asset;
    rs.GetLong(QStringLiteral("AssetId"), asset.id);
    rs.GetString(QStringLiteral("Description"), asset.description);
    // A title stays a title even when the video category's row was deleted; it is then listed
    // with the assets that have no category.
    qint32 stored = kNone;
    rs.GetLong(QStringLiteral("CategoryId"), stored);
    asset.video = stored == CAsset::kVideoCategoryId;
    qint32 found = kNone;
    rs.GetLong(QStringLiteral("FoundCategory"), found);
    asset.categoryId = found;
    if (found != kNone)
        rs.GetString(QStringLiteral("Category"), asset.category);
    found = kNone;
    rs.GetLong(QStringLiteral("FoundLocation"), found);
    asset.locationId = found;
    if (found != kNone)
        rs.GetString(QStringLiteral("Location"), asset.location);
    rs.GetString(QStringLiteral("MakeModel"), asset.makeModel);
    rs.GetString(QStringLiteral("SerialNumber"), asset.serialNumber);
    rs.GetString(QStringLiteral("Vendor"), asset.vendor);
    rs.GetString(QStringLiteral("Picture2"), asset.picture);
    rs.GetString(QStringLiteral("Notes"), asset.notes);
    rs.GetDouble(QStringLiteral("PurchasePrice"), asset.purchasePrice);
    rs.GetDouble(QStringLiteral("CurrentValue"), asset.currentValue);
    rs.GetDouble(QStringLiteral("ReplacementValue"), asset.replacementValue);
    rs.GetDate(QStringLiteral("PurchaseDate"), asset.purchaseDate);
    rs.GetDate(QStringLiteral("WarrantyExpiration"), asset.warranty);
    return asset;
}

qint32 groupIdOf(const Asset &asset, Grouping grouping)
{
    return grouping == Grouping::Location ? asset.locationId : asset.categoryId;
}

QString groupNameOf(const Asset &asset, Grouping grouping)
{
    if (groupIdOf(asset, grouping) == kNone)
        return noneGroupName(grouping);
    return grouping == Grouping::Location ? asset.location : asset.category;
}

bool chosen(const Asset &asset, const Options &options)
{
    switch (options.selection) {
    case Selection::AllAssets:
        return true;
    case Selection::TickedCategories:
        return options.ticked.contains(asset.categoryId);
    case Selection::TickedLocations:
        return options.ticked.contains(asset.locationId);
    }
    return true;
}

QStringList chosenNames(CADODataBase &db, qint32 homeId, const Options &options,
                        const QLocale &locale)
{
    QStringList names;
    if (options.selection == Selection::AllAssets)
        return names;
    const std::vector<Choice> choices = options.selection == Selection::TickedCategories
        ? categoryChoices(db, locale)
        : locationChoices(db, homeId, locale);
    for (const Choice &choice : choices) {
        if (options.ticked.contains(choice.id))
            names << choice.name;
    }
    return names;
}

// Sorts the assets into their groups and adds the groups up.
void arrange(Contents &contents, const QLocale &locale)
{
    const Grouping grouping = contents.options.grouping;
    const QCollator collator = nameCollator(locale);
    // Each name's sort key is made once, not at every comparison of a large inventory's sort.
    struct Keyed
    {
        QString group;
        QCollatorSortKey groupKey;
        QCollatorSortKey descriptionKey;
        qint32 groupId;
        Asset asset;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(contents.assets.size());
    for (Asset &asset : contents.assets) {
        const qint32 id = groupIdOf(asset, grouping);
        QString group = groupNameOf(asset, grouping);
        QCollatorSortKey groupKey = collator.sortKey(group);
        QCollatorSortKey descriptionKey = collator.sortKey(asset.description);
        keyed.push_back({ std::move(group), std::move(groupKey), std::move(descriptionKey), id,
                          std::move(asset) });
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if ((a.groupId == kNone) != (b.groupId == kNone))
            return b.groupId == kNone;
        if (const int c = a.groupKey.compare(b.groupKey))
            return c < 0;
        if (a.groupId != b.groupId)
            return a.groupId < b.groupId;
        if (const int c = a.descriptionKey.compare(b.descriptionKey))
            return c < 0;
        return a.asset.id < b.asset.id;
    });

    contents.assets.clear();
    contents.groups.clear();
    contents.totals = {};
    for (Keyed &each : keyed) {
        if (contents.groups.empty() || contents.groups.back().id != each.groupId) {
            Group group;
            group.id = each.groupId;
            group.name = each.group;
            group.first = contents.assets.size();
            contents.groups.push_back(group);
        }
        contents.groups.back().totals.add(each.asset);
        contents.totals.add(each.asset);
        contents.assets.push_back(std::move(each.asset));
    }
}

} // namespace

bool Asset::hasWarranty() const
{
    return warranty.isValid() && !CAsset::isNoWarrantyDate(warranty);
}

void Totals::add(const Asset &asset)
{
    ++count;
    purchase += asset.purchasePrice;
    current += asset.currentValue;
    replacement += asset.replacementValue;
}

std::vector<Choice> categoryChoices(CADODataBase &db, const QLocale &locale)
{
    std::vector<Choice> choices =
        readChoices(db,
                    sqlText("SELECT CategoryId, Description FROM Categories WHERE CategoryType=%d "
                            "ORDER BY CategoryId;",
                            int(Lookups::AssetCategory)),
                    locale);
    choices.push_back({ kNone, noneGroupName(Grouping::Category) });
    return choices;
}

std::vector<Choice> locationChoices(CADODataBase &db, qint32 homeId, const QLocale &locale)
{
    std::vector<Choice> choices = readChoices(
        db,
        sqlText("SELECT AreaId, Description FROM Areas WHERE HomeId=%ld ORDER BY AreaId;",
                long(homeId)),
        locale);
    choices.push_back({ kNone, noneGroupName(Grouping::Location) });
    return choices;
}

QString noneGroupName(Grouping grouping)
{
    return grouping == Grouping::Location ? QStringLiteral("(No location)")
                                          : QStringLiteral("(No category)");
}

QString groupingName(Grouping grouping)
{
    return grouping == Grouping::Location ? QStringLiteral("Location") : QStringLiteral("Category");
}

bool load(CADODataBase &db, qint32 homeId, const Options &options, const QDate &date,
          Contents &contents, QString *error, const QLocale &locale)
{
    contents = {};
    contents.options = options;
    contents.date = date;
    CHome home(homeId);
    if (!home.Load(db)) {
        if (error)
            *error = QStringLiteral("The home cannot be read from the data file.");
        return false;
    }
    contents.homeDescription = home.m_strDescription;
    contents.homeAddress = home.m_strAddress;
    contents.homePicture = home.m_strPicture;
    contents.dataFile = db.GetDataSource();
    contents.chosenNames = chosenNames(db, homeId, options, locale);

    // The names of the home's attachments (never their bytes), by asset.
    QHash<qint32, std::vector<Attachment>> attachments;
    for (const Attachments::Attachment &stored : Attachments::listOfHome(db, homeId)) {
        if (stored.assetId == Attachments::kHomeItself) {
            if (stored.isPicture && stored.isImage())
                contents.homePictureAttachment = stored.id;
            continue;
        }
        attachments[stored.assetId].push_back(
            { stored.id, stored.kind, stored.fileName, stored.isImage(), stored.isPicture });
    }

    CADORecordset rs(db);
    if (!rs.Open(sqlText(kAssetsQuery, int(Lookups::AssetCategory), long(homeId)))) {
        if (error)
            *error = rs.GetLastError();
        return false;
    }
    contents.assets.reserve(size_t(rs.GetRecordCount()));
    for (; !rs.IsEof(); rs.MoveNext()) {
        Asset asset = readAsset(rs);
        if (!chosen(asset, options))
            continue;
        asset.attachments = attachments.take(asset.id);
        for (const Attachment &attachment : asset.attachments) {
            if (attachment.isPicture && attachment.image)
                asset.pictureAttachment = attachment.id;
        }
        contents.assets.push_back(std::move(asset));
    }
    rs.Close();
    arrange(contents, locale);
    return true;
}

} // namespace InventoryReport
