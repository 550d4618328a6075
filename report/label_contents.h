#pragma once
// Which labels to print: the assets the user chose (the selected ones, every one of the home,
// those of ticked categories or locations, or a range of asset numbers), or one label per ticked
// location. Read with one query; each label carries its QR code's text, the asset's description
// and location, and its number.

#include "report/label_sheet.h"

#include <QSet>
#include <QString>
#include <QtGlobal>

#include <utility>
#include <vector>

class CADODataBase;

namespace Labels {

enum class Choice {
    SelectedAssets,
    AllAssets,
    TickedCategories,
    TickedLocations,
    AssetNumbers,
    LocationLabels
};

struct Request
{
    Choice choice = Choice::AllAssets;
    // SelectedAssets: in this order.
    std::vector<qint32> selected {};
    // TickedCategories, TickedLocations, LocationLabels: the ticked ids; InventoryReport::kNone
    // stands for the assets without a category or a location.
    QSet<qint32> ticked {};
    // AssetNumbers: both ends included, as the labels print them ("Domelio #42").
    qint32 first = 0;
    qint32 last = 0;
};

// "Domelio #42", "Domelio location #7".
QString assetNumber(qint32 assetId);
QString locationNumber(qint32 locationId);

// The lowest and the highest asset number of the home; zeros when it has no asset.
std::pair<qint32, qint32> assetNumberRange(CADODataBase &db, qint32 homeId);

// The labels request asks for, assets by location (those without one last), then by
// description; a range of numbers by number. False, with the reason, when the data file cannot
// be read.
bool load(CADODataBase &db, qint32 homeId, const Request &request, std::vector<Label> &labels,
          QString *error = nullptr);

} // namespace Labels
