#pragma once
// CADORecordset: one query result with a current row. The result is read whole when it is
// opened (a static snapshot); rows of a single-table SELECT can be edited and are written back
// by their rowid. Like the connection, it never throws and keeps a report of its last error.

#include "db/db_value.h"
#include "platform/ole_date.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class CADODataBase;

class CADORecordset
{
public:
    enum OpenOption { openUnknown = 0, openQuery = 1, openTable = 2, openStoredProc = 3 };
    enum EditStatus { dbEditNone = 0, dbEdit = 2 };

    explicit CADORecordset(CADODataBase &db);
    ~CADORecordset();
    CADORecordset(const CADORecordset &) = delete;
    CADORecordset &operator=(const CADORecordset &) = delete;

    // Opens a SELECT (the statement must start with "select " in any case after leading
    // white space), or any statement with openQuery. An empty statement reuses the last one.
    bool Open(const QString &sql = QString(), int option = openUnknown);
    bool IsOpen() const { return m_open; }
    bool IsEof() const { return !m_open || m_row >= m_rows.size(); }
    void MoveNext();
    void Close();

    int GetRecordCount() const { return m_open ? int(m_rows.size()) : 0; }
    int GetFieldCount() const { return int(m_columns.size()); }
    QString GetFieldName(int index) const;
    // The 0-based index of a column, -1 (with the error recorded) when there is none: for loops
    // over many rows, which then read by index instead of looking the name up on every row.
    int GetFieldIndex(const QString &column) { return columnIndex(column); }

    // Reads of the current row's columns, by name or by 0-based index. See the conversion
    // rules in the implementation; a failed read leaves the target as it was.
    bool GetLong(const QString &column, qint32 &value);
    bool GetLong(int index, qint32 &value);
    bool GetInt(const QString &column, int &value);
    bool GetFloat(const QString &column, float &value);
    bool GetDouble(const QString &column, double &value);
    bool GetDouble(int index, double &value);
    bool GetString(const QString &column, QString &value);
    bool GetString(int index, QString &value);
    bool GetDate(const QString &column, COleDateTime &value);

    void Edit() { m_editStatus = dbEdit; }
    EditStatus GetEditStatus() const { return m_editStatus; }
    bool SetString(const QString &column, const QString &value);
    bool SetInt(const QString &column, int value);
    bool SetLong(const QString &column, qint32 value);
    bool SetDouble(const QString &column, double value);
    bool SetDate(const QString &column, const COleDateTime &value);
    bool Update();

    QString GetQuery() const { return m_query; }
    QString GetLastError() const { return m_lastError; }
    quint32 GetLastErrorCode() const { return m_lastErrorCode; }

private:
    struct Column
    {
        QString name;
        QString table; // origin table, empty for computed columns
        QString origin; // origin column name
        DbValue::Kind declared = DbValue::Kind::Empty;
    };

    const DbValue *cell(int index);
    const DbValue *cell(const QString &column);
    int columnIndex(const QString &name);
    bool store(const QString &column, DbValue value);
    void discardEdits();
    bool writeBack(const std::vector<size_t> &changed);
    void reportError(quint32 code, const QString &source, const QString &description);
    void reportEngineError();

    CADODataBase &m_db;
    QString m_query;
    bool m_open = false;
    std::vector<Column> m_columns;
    std::vector<std::vector<DbValue>> m_rows;
    std::vector<qint64> m_rowids; // empty when the result cannot be written back
    QString m_table; // the one table the result comes from, when updatable
    size_t m_row = 0;
    EditStatus m_editStatus = dbEditNone;
    // The value each edited column had before the edit; empty for columns not edited.
    std::vector<std::optional<DbValue>> m_saved;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
};
