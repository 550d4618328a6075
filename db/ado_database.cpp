#include "db/ado_database.h"

#include "db/ado_error.h"
#include "db/datafile.h"
#include "platform/busy.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace {

// The engine's own error, with the extended code so that locking and I/O problems stay apart.
quint32 engineCode(sqlite3 *db, int rc)
{
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    return static_cast<quint32>(extended ? extended : rc);
}

QString engineMessage(sqlite3 *db, int rc)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

int savepointCounter = 0;

} // namespace

CADODataBase::CADODataBase() = default;

CADODataBase::~CADODataBase()
{
    Close();
}

bool CADODataBase::Open(const QString &path)
{
    Close();
    if (!path.isEmpty()) {
        m_dataSource = path;
        m_connection = DataFile::connectionString(path);
    }
    if (m_dataSource.isEmpty()) {
        reportError(AdoError::InvalidArgument, QStringLiteral("Domelio data access"),
                    QStringLiteral("No data file was named."));
        return false;
    }
    // The program never creates its data file: a missing file is an error, not a new database.
    if (!QFileInfo(m_dataSource).isFile()) {
        reportError(SQLITE_CANTOPEN, QStringLiteral("SQLite"),
                    QStringLiteral("Could not find file '%1'.").arg(m_dataSource));
        return false;
    }
    sqlite3 *db = nullptr;
    int rc =
        sqlite3_open_v2(m_dataSource.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        sqlite3_extended_result_codes(db, 1);
        // The engine opens lazily: reading the catalogue proves the file is a readable database
        // and that nobody holds it locked exclusively.
        rc = sqlite3_exec(db, "PRAGMA synchronous=FULL; SELECT count(*) FROM sqlite_master;",
                          nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const quint32 code = engineCode(db, rc);
        const QString message = engineMessage(db, rc);
        sqlite3_close(db);
        reportError(code, QStringLiteral("SQLite"), message);
        return false;
    }
    // A write-protected file would open for reading only and every change would be lost.
    if (sqlite3_db_readonly(db, "main") == 1) {
        sqlite3_close(db);
        reportError(AdoError::ReadOnlyFile, QStringLiteral("SQLite"),
                    QStringLiteral("The data file '%1' cannot be written.").arg(m_dataSource));
        return false;
    }
    m_db = db;
    return true;
}

bool CADODataBase::Execute(const QString &sql)
{
    if (!handle()) {
        reportError(AdoError::ObjectClosed, QStringLiteral("Domelio data access"),
                    QStringLiteral("The connection is closed."));
        return false;
    }
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, &tail);
    if (rc != SQLITE_OK) {
        reportError(engineCode(m_db, rc), QStringLiteral("SQLite"), engineMessage(m_db, rc));
        return false;
    }
    // One statement per call: whatever follows the first statement must be blank.
    if (tail && !QByteArray(tail).trimmed().isEmpty()) {
        sqlite3_finalize(stmt);
        reportError(AdoError::InvalidArgument, QStringLiteral("Domelio data access"),
                    QStringLiteral("Only one statement may be run at a time."));
        return false;
    }
    if (!stmt) // blank text or a comment
        return true;
    do {
        rc = sqlite3_step(stmt);
    } while (rc == SQLITE_ROW);
    const bool ok = rc == SQLITE_DONE;
    if (!ok)
        reportError(engineCode(m_db, rc), QStringLiteral("SQLite"), engineMessage(m_db, rc));
    sqlite3_finalize(stmt);
    return ok;
}

void CADODataBase::Close()
{
    // Not from inside a statement that is still running on the connection.
    if (!m_db || m_inEngine)
        return;
    // Any statement still prepared would keep the file busy.
    while (sqlite3_stmt *stmt = sqlite3_next_stmt(m_db, nullptr))
        sqlite3_finalize(stmt);
    sqlite3_close(m_db);
    m_db = nullptr;
}

void CADODataBase::reportError(quint32 code, const QString &source, const QString &description)
{
    m_lastErrorCode = code;
    m_lastError = QStringLiteral("Connection String = ") + m_connection + QLatin1Char('\n')
        + AdoError::report("CADODataBase", code, source, description);
}

CTransaction::CTransaction(CADODataBase &db)
    : m_db(db)
    , m_name(QStringLiteral("domelio_%1").arg(++savepointCounter))
{
    m_active = m_db.Execute(QStringLiteral("SAVEPOINT %1;").arg(m_name));
}

CTransaction::~CTransaction()
{
    if (m_active) {
        m_db.Execute(QStringLiteral("ROLLBACK TO %1;").arg(m_name));
        m_db.Execute(QStringLiteral("RELEASE %1;").arg(m_name));
    }
}

bool CTransaction::commit()
{
    if (!m_active)
        return false;
    if (!m_db.Execute(QStringLiteral("RELEASE %1;").arg(m_name)))
        return false;
    m_active = false;
    return true;
}

namespace Busy {
namespace {
// Engine instructions between two reports: a few tens of microseconds of work.
constexpr int kInstructionsPerReport = 4000;
} // namespace

EngineProgress::EngineProgress(CADODataBase &db)
    : m_handle(db.handle())
    , m_db(&db)
{
    if (m_handle)
        sqlite3_progress_handler(m_handle, kInstructionsPerReport, &EngineProgress::report, this);
}

EngineProgress::EngineProgress(sqlite3 *handle)
    : m_handle(handle)
{
    if (m_handle)
        sqlite3_progress_handler(m_handle, kInstructionsPerReport, &EngineProgress::report, this);
}

EngineProgress::~EngineProgress()
{
    if (m_handle)
        sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
}

int EngineProgress::report(void *self)
{
    auto *progress = static_cast<EngineProgress *>(self);
    if (progress->m_db)
        ++progress->m_db->m_inEngine;
    const bool goOn = tick();
    if (progress->m_db)
        --progress->m_db->m_inEngine;
    return goOn ? 0 : 1;
}

} // namespace Busy
