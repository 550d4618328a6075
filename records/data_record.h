#pragma once
// CDataRecord: what every record of the data file has in common. Records are short-lived
// values: built for one action, loaded from or saved to the database at once, then dropped.
// Each record class adds its columns as plain fields and offers Exists / Load / Save / Delete,
// all taking the connection they work on; Edit (its property sheet) lives in the widget
// library beside the sheet.

#include <QString>
#include <QtGlobal>

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
    CDataRecord() = default;
    CDataRecord(const CDataRecord &) = default;
    CDataRecord &operator=(const CDataRecord &) = default;

    qint32 m_id = kNoId;
};
