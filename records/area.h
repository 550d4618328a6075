#pragma once
// CArea: one row of Areas, a room or other location of a home, with its dimensions, three
// remembered colours and the text the Locations view shows for it.

#include "records/data_record.h"

#include <QLocale>
#include <QString>

class CADODataBase;

class CArea : public CDataRecord
{
public:
    // 0x00BBGGRR white: the mark for "no colour chosen".
    static constexpr qint32 kNoColor = 0xFFFFFF;

    CArea();
    explicit CArea(qint32 id);

    // Reads the row; false when the location is not stored or its row has gone (the fields
    // then keep their values).
    bool Load(CADODataBase &db);
    // Stores the location, taking a new id first when it has none. The key and the columns
    // land together: on failure nothing is stored and a new location keeps id -1.
    bool Save(CADODataBase &db);
    // Removes the location and clears the AreaId of its assets, which stay in the inventory
    // without a location. Both land together; false (nothing changed) when either failed.
    bool Delete(CADODataBase &db);

    // Dimensions and area (when length and width are given), then the notes; CR LF line ends.
    QString DescriptionText(const QLocale &locale) const;
    QString DescriptionText() const;

    // A length of inches as feet and inches: 7", 12', 12'6".
    static QString lengthText(qint32 inches);

    qint32 m_nHomeId = 0;
    qint32 m_nLength = 0; // inches; 0 = not given
    qint32 m_nWidth = 0;
    qint32 m_nHeight = 0;
    qint32 m_nColor[3] = { kNoColor, kNoColor, kNoColor };
    QString m_strLabel[3];
};
