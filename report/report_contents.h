#pragma once
// What the inventory report lists: the chosen assets of one home in their groups (by location
// or by category), each group's count and totals, and the home's own details for the cover.
// Read with one read-only query and the home record; QtCore only, so it is tested without a
// display and the page layout only has to paint it.

#include "format/display_text.h"
#include "platform/ole_date.h"
#include "records/attachments.h"

#include <QDate>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

class CADODataBase;

namespace InventoryReport {

enum class Grouping { Location, Category };
enum class Selection { AllAssets, TickedCategories, TickedLocations };

struct Options
{
    Selection selection = Selection::AllAssets;
    // The ids ticked in the chosen list; kNone stands for the assets that have no category (or
    // no location).
    QSet<qint32> ticked;
    Grouping grouping = Grouping::Location;
    bool pictures = true;
    bool notes = true;
    // A page of its own for every asset; otherwise one table row each.
    bool pagePerAsset = false;
    // A page for each receipt kept as a picture, after the assets.
    bool receipts = false;
};

// The id of the group of assets without a location or category. A reference to a row that
// has gone (or to a location of another home) counts as none too.
constexpr qint32 kNone = 0;

// A file kept with an asset (or with the home), as the report lists it: the bytes are read
// only when a picture of it is painted.
struct Attachment
{
    qint64 id = 0;
    Attachments::Kind kind = Attachments::Kind::Other;
    QString fileName;
    bool image = false;
    bool isPicture = false;
};

struct Asset
{
    qint32 id = 0;
    QString description;
    qint32 categoryId = kNone;
    QString category;
    qint32 locationId = kNone;
    QString location;
    QString makeModel; // a video's genre
    QString serialNumber;
    QString vendor;
    QString picture;
    QString notes;
    double purchasePrice = 0.0;
    double currentValue = 0.0;
    double replacementValue = 0.0;
    COleDateTime purchaseDate = COleDateTime::invalidDate();
    // A video's release year; a date in the year 2000 means there is none.
    COleDateTime warranty = COleDateTime::invalidDate();
    // A video, DVD or CD title: genre and release year in place of make, model and warranty.
    bool video = false;
    // Its attachments, by kind and name; the one chosen as its picture replaces picture.
    std::vector<Attachment> attachments;
    qint64 pictureAttachment = 0;

    bool hasWarranty() const;
};

struct Totals
{
    int count = 0;
    double purchase = 0.0;
    double current = 0.0;
    double replacement = 0.0;

    void add(const Asset &asset);
};

struct Group
{
    qint32 id = kNone;
    QString name;
    size_t first = 0; // index of its first asset
    Totals totals; // totals.count assets from first on
};

struct Contents
{
    QString homeDescription;
    QString homeAddress;
    QString homePicture;
    // The home's own paper chosen as its picture, in place of homePicture.
    qint64 homePictureAttachment = 0;
    // Where the attachments' bytes are read from when their pictures are painted.
    QString dataFile;
    QDate date;
    Options options;
    // The names of the ticked categories or locations, for the cover; empty for all assets.
    QStringList chosenNames;
    // In group order, then by description (as the locale sorts names), then by id.
    std::vector<Asset> assets;
    // Named groups by name (as the locale sorts names), the group of assets with none last.
    std::vector<Group> groups;
    Totals totals;
};

// A category or location the dialog offers to tick.
struct Choice
{
    qint32 id = kNone;
    QString name;
};
// The asset categories, then "(No category)"; the home's locations, then "(No location)". By
// name as the locale sorts names ("Étage" before "Zimmer"), as the report lists its groups.
std::vector<Choice> categoryChoices(CADODataBase &db, const QLocale &locale = userLocale());
std::vector<Choice> locationChoices(CADODataBase &db, qint32 homeId,
                                    const QLocale &locale = userLocale());

// The name of the group of assets without a location or category.
QString noneGroupName(Grouping grouping);
QString groupingName(Grouping grouping);

// Reads the home and the assets the options choose, the groups and the assets in each sorted by
// name as locale sorts names. False, with a reason, when the home cannot be read or the query
// fails; contents are then incomplete.
bool load(CADODataBase &db, qint32 homeId, const Options &options, const QDate &date,
          Contents &contents, QString *error = nullptr, const QLocale &locale = userLocale());

} // namespace InventoryReport
