#pragma once
// CDataRecord: what every record of the data file has in common. Records are short-lived
// values: built for one action, loaded from or saved to the database at once, then dropped.
// Each record class adds its columns as plain fields and offers Exists / Load / Save / Delete,
// all taking the connection they work on; Edit (its property sheet) lives in the widget
// library beside the sheet.

#include <QString>
#include <QtGlobal>

#include <functional>

class CADODataBase;
class CADORecordset;

class CDataRecord
{
public:
    static constexpr qint32 kNoId = -1;

    virtual ~CDataRecord() = default;

    // A stored row has a key above 0; -1 marks a record never saved.
    bool Exists() const { return m_id > 0; }
    qint32 id() const { return m_id; }
    void setId(qint32 id) { m_id = id; }

    QString m_strDescription;
    QString m_strNotes;

protected:
    // Stores the record's row the way every record does: a record with no id first takes the
    // next id from table's counter and inserts its key alone (insertStatement, "%ld" = the id);
    // then loadStatement opens the row and writeColumns writes every column before the update.
    // The key and the columns land together or not at all: on failure nothing is stored and a
    // new record keeps id -1, so the caller can try again with the same values.
    bool saveRow(CADODataBase &db, const char *table, const char *insertStatement,
                 const char *loadStatement,
                 const std::function<bool(CADORecordset &)> &writeColumns);

    CDataRecord() = default;
    CDataRecord(const CDataRecord &) = default;
    CDataRecord &operator=(const CDataRecord &) = default;

    qint32 m_id = kNoId;
};
