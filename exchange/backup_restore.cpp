#include "exchange/backup_restore.h"

#include "db/ado_database.h"
#include "platform/busy.h"
#include "platform/file_target.h"
#include "platform/whole_file.h"
#include "schema_sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QtEndian>
#include <sqlite3.h>

namespace DataFileBackup {
namespace {

Outcome failure(const QString &reason)
{
    return Outcome { false, false, reason };
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// The tables of the data file and the columns the program reads from them, taken from the
// schema the program's own files are written with.
const QHash<QString, QStringList> &expectedTables()
{
    static const QHash<QString, QStringList> tables = [] {
        QHash<QString, QStringList> result;
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
            && sqlite3_exec(db, kSchemaSql, nullptr, nullptr, nullptr) == SQLITE_OK) {
            sqlite3_stmt *stmt = nullptr;
            sqlite3_prepare_v2(db,
                               "SELECT m.name, p.name FROM sqlite_master AS m, "
                               "pragma_table_info(m.name) AS p WHERE m.type='table';",
                               -1, &stmt, nullptr);
            while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
                result[QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)))]
                    << QString::fromUtf8(
                           reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
            }
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
        return result;
    }();
    return tables;
}

const char kNotDataFile[] = "That file is not a Domelio data file.";
const char kCancelled[] = "The restore was cancelled.";
// Pages copied between two reports to the progress window: a few megabytes.
constexpr int kPagesPerStep = 1024;

// The checks that need no engine: the SQLite header, and a length that holds every page the
// header promises (a backup cut short by a full disk or an interrupted copy fails here).
Outcome checkHeader(QFile &file)
{
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3", 16)))
        return failure(QString::fromLatin1(kNotDataFile));
    quint32 pageSize = qFromBigEndian<quint16>(header.constData() + 16);
    if (pageSize == 1)
        pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return failure(QString::fromLatin1(kNotDataFile));
    const qint64 size = file.size();
    const quint32 pages = qFromBigEndian<quint32>(header.constData() + 28);
    const quint32 changeCounter = qFromBigEndian<quint32>(header.constData() + 24);
    const quint32 validFor = qFromBigEndian<quint32>(header.constData() + 92);
    const bool pageCountValid = pages != 0 && changeCounter == validFor;
    if (size % pageSize != 0 || (pageCountValid && size < qint64(pages) * pageSize))
        return failure(QStringLiteral("The file is incomplete: it may have been cut short "
                                      "while it was written or copied."));
    return Outcome { true, false, {} };
}

// The engine's integrity check of an open database.
Outcome checkIntegrity(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    bool intact =
        sqlite3_prepare_v2(db, "PRAGMA integrity_check(1);", -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW
        && qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok") == 0;
    sqlite3_finalize(stmt);
    if (!intact) {
        const int code = sqlite3_errcode(db);
        if (code == SQLITE_NOTADB)
            return failure(QString::fromLatin1(kNotDataFile));
        return failure(QStringLiteral("The file is damaged: the database engine found errors "
                                      "in it."));
    }
    return Outcome { true, false, {} };
}

// Every table the program reads, with every column, in an open database.
Outcome checkLayout(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    QHash<QString, QStringList> found;
    if (sqlite3_prepare_v2(db,
                           "SELECT m.name, p.name FROM sqlite_master AS m, "
                           "pragma_table_info(m.name) AS p WHERE m.type='table';",
                           -1, &stmt, nullptr)
        != SQLITE_OK)
        return failure(QString::fromLatin1(kNotDataFile));
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        // Table names are matched without regard to case, as the engine does.
        found[QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)))
                  .toLower()]
            << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
    }
    sqlite3_finalize(stmt);

    QStringList missing;
    const auto &expected = expectedTables();
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const auto table = found.constFind(it.key().toLower());
        if (table == found.constEnd()) {
            missing << it.key();
            continue;
        }
        for (const QString &column : it.value()) {
            if (!table->contains(column, Qt::CaseInsensitive))
                missing << it.key() + QLatin1Char('.') + column;
        }
    }
    if (expected.isEmpty() || !missing.isEmpty()) {
        missing.sort();
        return failure(
            QStringLiteral("%1 It lacks %2.")
                .arg(QString::fromLatin1(kNotDataFile), missing.join(QStringLiteral(", "))));
    }
    return Outcome { true, false, {} };
}

const char kIsDataFile[] = "That file is Domelio's data file itself, or one of the files the "
                           "database keeps beside it";

// Copies the database open on source into the empty file at target with the engine's online
// backup: page by page, as the engine reads them, so a database in write-ahead-log mode comes
// with what its log holds. The engine's result code; error says why when it is not SQLITE_OK.
int copyDatabase(sqlite3 *source, const QString &target, QString *error)
{
    sqlite3 *copy = nullptr;
    int rc = sqlite3_open_v2(nativePath(target).constData(), &copy, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        // The copy is flushed once, whole, before it takes its name; a journal would only slow
        // it down, since a broken copy is simply thrown away.
        sqlite3_exec(copy, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr,
                     nullptr);
        sqlite3_backup *job = sqlite3_backup_init(copy, "main", source, "main");
        if (job) {
            while ((rc = sqlite3_backup_step(job, kPagesPerStep)) == SQLITE_OK) {
                const int pages = sqlite3_backup_pagecount(job);
                if (!Busy::step(pages - sqlite3_backup_remaining(job), pages)) {
                    rc = SQLITE_INTERRUPT;
                    break;
                }
            }
            sqlite3_backup_finish(job);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        } else {
            rc = sqlite3_errcode(copy);
        }
    }
    if (rc == SQLITE_INTERRUPT)
        *error = QString::fromLatin1(kCancelled);
    else if (rc != SQLITE_OK)
        *error = QString::fromUtf8(copy ? sqlite3_errmsg(copy) : sqlite3_errstr(rc));
    if (sqlite3_close(copy) != SQLITE_OK && rc == SQLITE_OK) {
        rc = SQLITE_ERROR;
        *error = QStringLiteral("The copy could not be closed.");
    }
    return rc;
}

// Copies the chosen backup into target through the engine, read-only: neither the file nor a
// log beside it changes. The index the engine makes to read a log (-shm) goes again when this
// read made it.
Outcome copyBackup(const QString &source, const QString &target)
{
    const QString index = source + QStringLiteral("-shm");
    const bool hadIndex = QFileInfo::exists(index);
    sqlite3 *in = nullptr;
    QString error;
    int rc = sqlite3_open_v2(nativePath(source).constData(), &in, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = copyDatabase(in, target, &error);
    else
        error = QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(in);
    if (!hadIndex)
        QFile::remove(index);
    switch (rc & 0xff) {
    case SQLITE_OK:
        return Outcome { true, false, {} };
    case SQLITE_INTERRUPT:
        return failure(QString::fromLatin1(kCancelled));
    case SQLITE_NOTADB:
        return failure(QString::fromLatin1(kNotDataFile));
    case SQLITE_CORRUPT:
        return failure(QStringLiteral("The file is damaged: the database engine found errors "
                                      "in it."));
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return failure(QStringLiteral("The file cannot be read: %1.").arg(error));
    default:
        return failure(QStringLiteral("The file could not be copied: %1.").arg(error));
    }
}

// After the connection was closed for the swap: opens whatever is now at the data file's path
// and checks that it is a data file. Says plainly what happened when it is not, and leaves the
// connection closed then, so that no later command works on a file it cannot use; every save
// into a closed connection fails and is reported as failed.
Outcome reopen(CADODataBase &db, bool replaced, const QString &renameError)
{
    const QString path = QDir::toNativeSeparators(db.GetDataSource());
    QString problem;
    if (!db.Open()) {
        const Outcome checked = validate(db.GetDataSource());
        problem =
            checked.ok ? QStringLiteral("It is in use or cannot be written.") : checked.reason;
    } else if (const Outcome layout = checkLayout(db.handle()); !layout.ok) {
        db.Close();
        problem = layout.reason;
    }
    if (replaced) {
        if (problem.isEmpty())
            return Outcome { true, true, {} };
        return Outcome { false, true,
                         QStringLiteral("The backup was put in place of the data file \"%1\", but "
                                        "it cannot be opened. %2\n\nYour previous data has been "
                                        "replaced. Until a data file opens, nothing can be "
                                        "saved: restore another backup, or close Domelio.")
                             .arg(path, problem) };
    }
    const QString notReplaced =
        QStringLiteral("The data file could not be replaced: %1.").arg(renameError);
    if (problem.isEmpty())
        return failure(notReplaced);
    return failure(notReplaced
                   + QStringLiteral("\n\nThe data file \"%1\" was not changed, but it could not be "
                                    "opened again. %2\n\nUntil it opens, nothing can be saved: "
                                    "close Domelio and start it again.")
                         .arg(path, problem));
}

} // namespace

Outcome backup(CADODataBase &db, const QString &target)
{
    const QString dataFile = db.GetDataSource();
    if (!db.IsOpen())
        return failure(QStringLiteral("The data file is not open."));
    if (target.isEmpty())
        return failure(QStringLiteral("No file was chosen."));
    const WholeFile::Outcome done =
        WholeFile::writeAt(target, dataFile, [&](const QString &temporaryPath, QString *error) {
            return copyDatabase(db.handle(), temporaryPath, error) == SQLITE_OK
                ? WholeFile::Result::Written
                : WholeFile::Result::Failed;
        });
    if (done.result == WholeFile::Result::Written)
        return Outcome { true, false, {} };
    switch (done.step) {
    case WholeFile::Step::DataFile:
        return failure(QString::fromLatin1(kIsDataFile)
                       + QStringLiteral("; a backup must be another file."));
    case WholeFile::Step::Folder:
        return failure(done.error);
    case WholeFile::Step::Open:
        return failure(QStringLiteral("The folder cannot be written: %1.").arg(done.error));
    case WholeFile::Step::Write:
    case WholeFile::Step::Commit:
        break;
    }
    return failure(QStringLiteral("The copy could not be written: %1.").arg(done.error));
}

Outcome validate(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("The file cannot be read."));
    Outcome header = checkHeader(file);
    if (!header.ok)
        return header;
    file.close();
    sqlite3 *db = nullptr;
    Outcome result;
    if (sqlite3_open_v2(nativePath(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        == SQLITE_OK) {
        result = checkIntegrity(db);
        if (result.ok)
            result = checkLayout(db);
    } else {
        result = failure(QString::fromLatin1(kNotDataFile));
    }
    sqlite3_close(db);
    return result;
}

Outcome restore(CADODataBase &db, const QString &source, const std::function<void(Step)> &reached)
{
    const QString dataFile = db.GetDataSource();
    if (source.isEmpty())
        return failure(QStringLiteral("No file was chosen."));
    if (FileTarget::isDataFile(source, dataFile))
        return failure(QString::fromLatin1(kIsDataFile) + QStringLiteral("; choose a backup."));

    // 1. The cheap checks, before anything is written anywhere.
    {
        QFile in(source);
        if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
            return failure(QStringLiteral("The file cannot be read."));
        if (Outcome header = checkHeader(in); !header.ok)
            return header;
    }

    // 2. A copy beside the data file (beside the file a link leads to), on the same file system
    // so the final rename is atomic. What is checked and what is put in place are then the same
    // bytes, whatever happens to the chosen file meanwhile.
    FileTarget::Replacement staged(dataFile, dataFile, FileTarget::Replacement::Kind::Database);
    QString error;
    if (!staged.open(&error))
        return failure(QStringLiteral("The data file's folder cannot be written: %1.").arg(error));
    if (Outcome copied = copyBackup(source, staged.temporaryPath()); !copied.ok)
        return copied;
    if (reached)
        reached(Step::Staged);

    // 3. The engine's checks on the copy. A file kept in write-ahead-log mode (another
    // program's) becomes a plain one: the data file is always copied as one whole file.
    // The integrity check is one long statement: its length is not known beforehand.
    Busy::step(0, 0);
    {
        sqlite3 *candidate = nullptr;
        Outcome checked = failure(QString::fromLatin1(kNotDataFile));
        if (sqlite3_open_v2(nativePath(staged.temporaryPath()).constData(), &candidate,
                            SQLITE_OPEN_READWRITE, nullptr)
            == SQLITE_OK) {
            {
                const Busy::EngineProgress engine(candidate);
                checked = checkIntegrity(candidate);
            }
            if (Busy::cancelled())
                checked = failure(QString::fromLatin1(kCancelled));
            if (checked.ok)
                checked = checkLayout(candidate);
            if (checked.ok
                && sqlite3_exec(candidate, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr)
                    != SQLITE_OK)
                checked = failure(QStringLiteral("The file could not be prepared for use."));
        }
        sqlite3_close(candidate);
        FileTarget::removeSideFiles(staged.temporaryPath());
        if (!checked.ok)
            return checked;
    }
    if (reached)
        reached(Step::Validated);
    // Cancelling is possible up to here; from now on the data file is being replaced.
    if (Busy::cancelled())
        return failure(QString::fromLatin1(kCancelled));

    // 4. The swap: one rename replaces the data file, then the connection opens what is there.
    // The old file's journal, if any, goes with it (and stays when the rename fails).
    db.Close();
    const bool replaced = staged.commit(&error);
    if (replaced && reached)
        reached(Step::Replaced);
    return reopen(db, replaced, error);
}

} // namespace DataFileBackup
