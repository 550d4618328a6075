#pragma once
// CAsset: one item of a home's inventory (one row of Assets). A video, DVD or CD title is an
// asset of the video category; it keeps its genre in MakeModel and its release year in
// WarrantyExpiration (1 January of that year).

#include "platform/ole_date.h"
#include "records/data_record.h"

#include <QLocale>

#include <map>

class CADODataBase;

class CAsset : public CDataRecord
{
public:
    static constexpr qint32 kVideoCategoryId = 19;
    // A warranty date in this year means "no warranty date"; new assets start on 1 January.
    static constexpr int kNoWarrantyYear = 2000;

    CAsset();
    explicit CAsset(qint32 id)
        : CAsset()
    {
        m_id = id;
    }

    bool IsVideo() const { return m_lCategoryId == kVideoCategoryId; }

    // Reads the row; false when the asset is not stored or its row has gone (the fields then
    // keep their values).
    bool Load(CADODataBase &db);
    // Stores the record, taking a new id first when it has none. Key and columns land together
    // or not at all: on failure a new record keeps id -1.
    bool Save(CADODataBase &db);
    // Removes the row and nothing else: the picture file stays where it is.
    bool Delete(CADODataBase &db);

    // The text the Home Inventory shows for the selected asset, lines ending in CR LF. now
    // decides whether a warranty "expired" or "expires".
    QString DescriptionText(const COleDateTime &now, const QLocale &locale) const;
    QString DescriptionText() const;

    // How many assets of home each category (id above 0) has. One aggregate statement, so the
    // Home Inventory's category menu opens at once however large the inventory.
    static std::map<qint32, int> CountByCategory(CADODataBase &db, qint32 homeId);

    // 1 January 2000, 00:00: the stored form of "no warranty date".
    static COleDateTime noWarrantyDate();
    // Whether a warranty date means "no warranty date": any day of the year 2000. The one test
    // of it; the warranty statements ask the same of the engine (warranties.cpp).
    static bool isNoWarrantyDate(const COleDateTime &date)
    {
        return date.isValid() && date.year() == kNoWarrantyYear;
    }

    qint32 m_lHomeId = 0;
    qint32 m_lAreaId = 0;
    qint32 m_lCategoryId = 0;
    float m_fPurchasePrice = 0.0f;
    COleDateTime m_dtPurchaseDate;
    float m_fCurrentValue = 0.0f;
    float m_fReplacementValue = 0.0f;
    QString m_strVendor;
    QString m_strPhone1;
    QString m_strPhone2;
    QString m_strMakeModel; // a video's genre
    QString m_strSerialNumber;
    COleDateTime m_dtWarrantyExpiration; // a video's release year
    QString m_strPicture;
};
