#pragma once
// CADODataBase: the program's one connection to its data file. Operations never throw and never
// show anything: they return a success flag and keep a formatted report of the last error.

#include <QString>
#include <QtGlobal>

struct sqlite3;

namespace Busy {
class EngineProgress;
}

class CADODataBase
{
public:
    CADODataBase();
    ~CADODataBase();
    CADODataBase(const CADODataBase &) = delete;
    CADODataBase &operator=(const CADODataBase &) = delete;

    // Opens the data file at path, and keeps the path and the connection text made from it
    // ("...;Data Source='<path>';"). An empty path reopens the last one. The file must exist and
    // be a writable data file.
    bool Open(const QString &path = QString());
    // Runs one statement that returns no rows.
    bool Execute(const QString &sql);
    bool IsOpen() const { return m_db != nullptr; }
    void Close();

    QString GetConnectionString() const { return m_connection; }
    // The data file's path, as given to Open.
    QString GetDataSource() const { return m_dataSource; }
    QString GetLastError() const { return m_lastError; }
    quint32 GetLastErrorCode() const { return m_lastErrorCode; }

    // For the recordset and the exchange code (backup, sync) that need the engine itself.
    // Null while the connection is inside one of its own statements' progress reports
    // (Busy::EngineProgress): nothing may run on it from there.
    sqlite3 *handle() const { return m_inEngine ? nullptr : m_db; }

    // Records an error report headed "CADODataBase Error".
    void reportError(quint32 code, const QString &source, const QString &description);

private:
    friend class Busy::EngineProgress;

    sqlite3 *m_db = nullptr;
    int m_inEngine = 0;
    QString m_connection;
    QString m_dataSource;
    QString m_lastError;
    quint32 m_lastErrorCode = 0;
};

namespace Busy {

// EngineProgress: while it lasts, the statements run on a connection report to the labelled Busy
// scope every few thousand engine instructions, so that one long statement (a sort, an integrity
// check) keeps the progress window alive; once that work was cancelled the running statement
// stops with SQLITE_INTERRUPT. Whatever the progress window lets run meanwhile finds the
// connection closed.
class EngineProgress
{
public:
    explicit EngineProgress(CADODataBase &db);
    // A connection of the caller's own, which nothing else uses.
    explicit EngineProgress(sqlite3 *handle);
    ~EngineProgress();
    EngineProgress(const EngineProgress &) = delete;
    EngineProgress &operator=(const EngineProgress &) = delete;

private:
    static int report(void *self);

    sqlite3 *m_handle = nullptr;
    CADODataBase *m_db = nullptr;
};

} // namespace Busy

// Groups statements so that they land together or not at all: commit() makes them final; a
// guard that goes out of scope without commit() rolls them back. Guards may nest.
class CTransaction
{
public:
    explicit CTransaction(CADODataBase &db);
    ~CTransaction();
    CTransaction(const CTransaction &) = delete;
    CTransaction &operator=(const CTransaction &) = delete;

    bool isActive() const { return m_active; }
    bool commit();

private:
    CADODataBase &m_db;
    QString m_name;
    bool m_active = false;
};
