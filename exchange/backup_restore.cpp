#include "exchange/backup_restore.h"

#include "db/ado_database.h"
#include "schema_sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QTemporaryFile>
#include <QtEndian>
#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Whether two paths name the same file (hard links and other spellings included).
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    if (::stat(nativePath(a).constData(), &sa) != 0 || ::stat(nativePath(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Flushes a file or a folder (for a rename) to the disk.
bool syncPath(const QString &path, bool folder)
{
    const int fd = ::open(nativePath(path).constData(), (folder ? O_DIRECTORY : 0) | O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
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

// The engine's checks on an open database: integrity, then every table and column.
Outcome checkDatabase(sqlite3 *db)
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

// Removes the file at path unless released (a staged copy or a backup under construction).
class TemporaryPath
{
public:
    explicit TemporaryPath(QString path)
        : m_path(std::move(path))
    {
    }
    ~TemporaryPath()
    {
        if (!m_path.isEmpty()) {
            QFile::remove(m_path);
            QFile::remove(m_path + QStringLiteral("-journal"));
        }
    }
    TemporaryPath(const TemporaryPath &) = delete;
    TemporaryPath &operator=(const TemporaryPath &) = delete;
    const QString &path() const { return m_path; }
    void release() { m_path.clear(); }

private:
    QString m_path;
};

// Reserves a new file name in folder (the file is created empty); empty when the folder
// cannot be written.
QString reserveName(const QString &folder, const QString &stem, QString *error)
{
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".%1.XXXXXX").arg(stem)));
    file.setAutoRemove(false);
    if (!file.open()) {
        *error = file.errorString();
        return {};
    }
    return file.fileName();
}

const char kStagingStem[] = "HOMEDATA.DAT.restore";

// Copies source to target (an existing, empty file) and flushes it to the disk.
bool copyWhole(QFile &source, const QString &target, QString *error)
{
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = out.errorString();
        return false;
    }
    if (!source.seek(0)) {
        *error = source.errorString();
        return false;
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 got = source.read(buffer.data(), buffer.size());
        if (got < 0) {
            *error = source.errorString();
            return false;
        }
        if (got == 0)
            break;
        if (out.write(buffer.constData(), got) != got) {
            *error = out.errorString();
            return false;
        }
    }
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        *error = out.errorString().isEmpty() ? systemError(errno) : out.errorString();
        return false;
    }
    return true;
}

} // namespace

Outcome backup(CADODataBase &db, const QString &target)
{
    const QString dataFile = db.GetDataSource();
    if (!db.IsOpen())
        return failure(QStringLiteral("The data file is not open."));
    if (target.isEmpty())
        return failure(QStringLiteral("No file was chosen."));
    if (sameFile(target, dataFile))
        return failure(QStringLiteral("That file is the data file itself; a backup must be "
                                      "another file."));
    if (QFileInfo(target).isDir())
        return failure(QStringLiteral("That name belongs to a folder."));

    const QFileInfo info(target);
    QString error;
    TemporaryPath temporary(reserveName(info.absolutePath(), info.fileName(), &error));
    if (temporary.path().isEmpty())
        return failure(QStringLiteral("The folder cannot be written: %1.").arg(error));

    sqlite3 *copy = nullptr;
    int rc = sqlite3_open_v2(nativePath(temporary.path()).constData(), &copy, SQLITE_OPEN_READWRITE,
                             nullptr);
    if (rc == SQLITE_OK) {
        // The copy is flushed once, whole, before it takes the target's name; a journal
        // would only slow it down, since a broken copy is simply thrown away.
        sqlite3_exec(copy, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr,
                     nullptr);
        sqlite3_backup *job = sqlite3_backup_init(copy, "main", db.handle(), "main");
        if (job) {
            while ((rc = sqlite3_backup_step(job, -1)) == SQLITE_OK) { }
            sqlite3_backup_finish(job);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        } else {
            rc = sqlite3_errcode(copy);
        }
    }
    if (rc != SQLITE_OK)
        error = QString::fromUtf8(copy ? sqlite3_errmsg(copy) : sqlite3_errstr(rc));
    if (sqlite3_close(copy) != SQLITE_OK && rc == SQLITE_OK) {
        rc = SQLITE_ERROR;
        error = QStringLiteral("The copy could not be closed.");
    }
    if (rc != SQLITE_OK)
        return failure(QStringLiteral("The copy could not be written: %1.").arg(error));
    if (!syncPath(temporary.path(), false))
        return failure(
            QStringLiteral("The copy could not be written: %1.").arg(systemError(errno)));
    ::chmod(nativePath(temporary.path()).constData(), 0644);
    if (::rename(nativePath(temporary.path()).constData(), nativePath(target).constData()) != 0)
        return failure(
            QStringLiteral("The copy could not take its name: %1.").arg(systemError(errno)));
    temporary.release();
    syncPath(info.absolutePath(), true);
    return Outcome { true, false, {} };
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
        == SQLITE_OK)
        result = checkDatabase(db);
    else
        result = failure(QString::fromLatin1(kNotDataFile));
    sqlite3_close(db);
    return result;
}

Outcome restore(CADODataBase &db, const QString &source, const std::function<void(Step)> &reached)
{
    const QString dataFile = db.GetDataSource();
    if (source.isEmpty())
        return failure(QStringLiteral("No file was chosen."));
    if (sameFile(source, dataFile))
        return failure(QStringLiteral("That file is the data file in use; choose a backup."));

    // 1. The cheap checks, before anything is written anywhere.
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("The file cannot be read."));
    if (Outcome header = checkHeader(in); !header.ok)
        return header;

    // 2. A copy beside the data file, on the same file system so the final rename is atomic.
    // What is checked and what is put in place are then the same bytes, whatever happens to
    // the chosen file meanwhile. Copies left by a restore that was cut off go first.
    const QString folder = QFileInfo(dataFile).absolutePath();
    const QStringList stale = QDir(folder).entryList(
        { QStringLiteral(".%1.*").arg(QLatin1String(kStagingStem)) }, QDir::Files | QDir::Hidden);
    for (const QString &name : stale)
        QFile::remove(QDir(folder).filePath(name));
    QString error;
    TemporaryPath staged(reserveName(folder, QLatin1String(kStagingStem), &error));
    if (staged.path().isEmpty())
        return failure(QStringLiteral("The data file's folder cannot be written: %1.").arg(error));
    if (!copyWhole(in, staged.path(), &error))
        return failure(QStringLiteral("The file could not be copied: %1.").arg(error));
    in.close();
    // The data file keeps its permissions across the swap.
    struct stat current;
    if (::stat(nativePath(dataFile).constData(), &current) == 0)
        ::chmod(nativePath(staged.path()).constData(), current.st_mode & 07777);
    if (reached)
        reached(Step::Staged);

    // 3. The engine's checks on the copy. A file kept in write-ahead-log mode (another
    // program's) becomes a plain one: the data file is always copied as one whole file.
    {
        sqlite3 *candidate = nullptr;
        Outcome checked = failure(QString::fromLatin1(kNotDataFile));
        if (sqlite3_open_v2(nativePath(staged.path()).constData(), &candidate,
                            SQLITE_OPEN_READWRITE, nullptr)
            == SQLITE_OK) {
            checked = checkDatabase(candidate);
            if (checked.ok
                && sqlite3_exec(candidate, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr)
                    != SQLITE_OK)
                checked = failure(QStringLiteral("The file could not be prepared for use."));
        }
        sqlite3_close(candidate);
        QFile::remove(staged.path() + QStringLiteral("-wal"));
        QFile::remove(staged.path() + QStringLiteral("-shm"));
        if (!checked.ok)
            return checked;
        if (!syncPath(staged.path(), false))
            return failure(
                QStringLiteral("The file could not be copied: %1.").arg(systemError(errno)));
    }
    if (reached)
        reached(Step::Validated);

    // 4. The swap: one rename replaces the data file, then the connection opens the new one.
    db.Close();
    if (::rename(nativePath(staged.path()).constData(), nativePath(dataFile).constData()) != 0) {
        const QString why = systemError(errno);
        db.Open();
        return failure(QStringLiteral("The data file could not be replaced: %1.").arg(why));
    }
    staged.release();
    syncPath(folder, true);
    if (reached)
        reached(Step::Replaced);
    if (!db.Open())
        return Outcome { false, true,
                         QStringLiteral("The restored data file could not be opened.") };
    return Outcome { true, true, {} };
}

} // namespace DataFileBackup
