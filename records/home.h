#pragma once
// CHome: one row of Homes, and the delete of a home together with what belongs to it.

#include "records/data_record.h"

class CADODataBase;

class CHome : public CDataRecord
{
public:
    CHome() = default;
    explicit CHome(qint32 id) { m_id = id; }

    // Reads the row; false when the home is not stored or its row has gone (the fields are then
    // left as they were).
    bool Load(CADODataBase &db);
    // Stores the record, taking a new id first when it has none. The key and the columns land
    // together or not at all: on failure nothing is stored and a new record keeps id -1, so the
    // caller can try again with the same values.
    bool Save(CADODataBase &db);
    // Removes the home row, its assets, its locations and its loans. Each statement runs even
    // when an earlier one failed, so one damaged table does not keep the rest behind; the result
    // is whether all of them succeeded. The fields in memory stay as they were.
    bool Delete(CADODataBase &db);

    float m_fCurrentValue = 0.0f;
    QString m_strAddress;
    QString m_strPicture;
};
