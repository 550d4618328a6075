#include "records/attachment_store.h"

#include "db/ado_database.h"
#include "db/sql_text.h"
#include "platform/busy.h"
#include "platform/file_target.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStorageInfo>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace Attachments {
namespace {

constexpr qint64 kGiB = qint64(1) << 30;
// Beyond the bytes, a value's row holds a header of a few bytes.
constexpr qint64 kRowOverhead = 16;
// Room the engine needs beside the new pages (the journal's header, a page or two of the
// table's tree).
constexpr qint64 kRoomToSpare = 1 << 20;

// The engine's verdict on the last call, as a problem of the add.
AddOutcome engineFailure(sqlite3 *db, int rc)
{
    const int primary = (db ? sqlite3_extended_errcode(db) : rc) & 0xff;
    AddOutcome outcome;
    outcome.detail = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    switch (primary) {
    case SQLITE_FULL:
        outcome.problem = Problem::DiskFull;
        break;
    case SQLITE_TOOBIG:
        outcome.problem = Problem::TooLarge;
        break;
    case SQLITE_INTERRUPT:
        outcome.problem = Problem::Cancelled;
        break;
    default:
        outcome.problem = Problem::Database;
        break;
    }
    return outcome;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size
        && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
        && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

struct Statement
{
    ~Statement() { sqlite3_finalize(stmt); }
    sqlite3_stmt *stmt = nullptr;
};

struct Blob
{
    ~Blob() { sqlite3_blob_close(blob); }
    // Closing can fail (a write that could not be finished): the result counts.
    int close() { return sqlite3_blob_close(std::exchange(blob, nullptr)); }
    sqlite3_blob *blob = nullptr;
};

void bindText(sqlite3_stmt *stmt, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Streams the open file into the new row's bytes. None when every byte went in and the file
// ended where it was meant to.
AddOutcome copyIn(sqlite3 *handle, sqlite3_blob *blob, QFile &file, qint64 size)
{
    QByteArray buffer(int(std::min(kChunkBytes, std::max<qint64>(size, 1))), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 want = std::min<qint64>(buffer.size(), size - done);
        const qint64 got = file.read(buffer.data(), want);
        if (got < 0)
            return AddOutcome { Problem::Unreadable, 0, size, file.errorString() };
        if (got == 0)
            return AddOutcome { Problem::Changed, 0, size, {} }; // shorter than it was
        const int rc = sqlite3_blob_write(blob, buffer.constData(), int(got), int(done));
        if (rc != SQLITE_OK)
            return engineFailure(handle, rc);
        done += got;
        if (!Busy::step(done, size))
            return AddOutcome { Problem::Cancelled, 0, size, {} };
    }
    // Longer than it was when it was opened.
    char more = 0;
    if (file.read(&more, 1) != 0)
        return AddOutcome { Problem::Changed, 0, size, {} };
    return {};
}

} // namespace

qint64 maximumSize(CADODataBase &db)
{
    sqlite3 *handle = db.handle();
    const qint64 engine = handle ? sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, -1) : kGiB;
    return std::min(kGiB, engine - kRowOverhead);
}

AddOutcome add(CADODataBase &db, const QString &path, qint32 homeId, qint32 assetId,
               std::optional<Kind> kind)
{
    const QFileInfo info(path);
    if (!info.exists())
        return AddOutcome { Problem::Missing, 0, 0, {} };
    if (info.isDir())
        return AddOutcome { Problem::Folder, 0, 0, {} };
    if (!info.isFile())
        return AddOutcome { Problem::NotAFile, 0, 0, {} };
    // A copy of the data file inside itself would be read while the add writes to it.
    if (FileTarget::isDataFile(path, db.GetDataSource()))
        return AddOutcome { Problem::DataFile, 0, 0, {} };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return AddOutcome { Problem::Unreadable, 0, 0, file.errorString() };
    // What is read is the file opened now, whatever takes its name meanwhile; its state now is
    // what it must still be at the end.
    struct stat before = {};
    if (::fstat(file.handle(), &before) != 0)
        return AddOutcome { Problem::Unreadable, 0, 0, QString::fromLocal8Bit(strerror(errno)) };
    if (!S_ISREG(before.st_mode))
        return AddOutcome { Problem::NotAFile, 0, 0, {} };
    const qint64 size = before.st_size;
    sqlite3 *handle = db.handle();
    if (!handle)
        return AddOutcome { Problem::Database, 0, size,
                            QStringLiteral("The data file is closed.") };
    if (size > maximumSize(db))
        return AddOutcome { Problem::TooLarge, 0, size, {} };
    // A file that cannot fit is refused before a byte is written; the engine's own SQLITE_FULL
    // covers the room that goes while the copy runs.
    const QStorageInfo volume(QFileInfo(db.GetDataSource()).absolutePath());
    if (volume.isValid() && volume.bytesAvailable() >= 0
        && volume.bytesAvailable() < size + kRoomToSpare)
        return AddOutcome { Problem::DiskFull, 0, size, {} };

    // The content type from the name and the first bytes, read from the open file.
    const QByteArray head = file.peek(4096);
    const QString mimeType =
        QMimeDatabase().mimeTypeForFileNameAndData(info.fileName(), head).name();
    const Kind chosen = kind ? *kind : guessKind(info.fileName(), mimeType);

    CTransaction transaction(db);
    if (!transaction.isActive())
        return engineFailure(handle, SQLITE_ERROR);
    {
        Statement insert;
        const QByteArray sql =
            sqlText("INSERT INTO Attachments (HomeId, AssetId, Kind, FileName, MimeType, Added, "
                    "Size, IsPicture) VALUES (%ld, %ld, %d, ?1, ?2, ?3, %lld, 0);",
                    long(homeId), long(assetId), int(chosen), (long long)size)
                .toUtf8();
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &insert.stmt, nullptr)
            != SQLITE_OK)
            return engineFailure(handle, SQLITE_ERROR);
        bindText(insert.stmt, 1, info.fileName());
        bindText(insert.stmt, 2, mimeType);
        sqlite3_bind_double(insert.stmt, 3,
                            COleDateTime::fromDateTime(QDateTime::currentDateTime()).days());
        if (const int rc = sqlite3_step(insert.stmt); rc != SQLITE_DONE)
            return engineFailure(handle, rc);
    }
    const qint64 id = sqlite3_last_insert_rowid(handle);
    // The row is made at its full length first (the engine writes zeros without holding them),
    // then filled in place.
    if (!db.Execute(sqlText("INSERT INTO AttachmentData (AttachmentId, Data) VALUES (%lld, "
                            "zeroblob(%lld));",
                            (long long)id, (long long)size)))
        return engineFailure(handle, SQLITE_ERROR);
    Blob blob;
    if (const int rc =
            sqlite3_blob_open(handle, "main", "AttachmentData", "Data", id, 1, &blob.blob);
        rc != SQLITE_OK)
        return engineFailure(handle, rc);
    AddOutcome copied = copyIn(handle, blob.blob, file, size);
    if (copied.problem != Problem::None)
        return copied;
    if (const int rc = blob.close(); rc != SQLITE_OK)
        return engineFailure(handle, rc);
    struct stat after = {};
    if (::fstat(file.handle(), &after) != 0 || !sameFile(before, after))
        return AddOutcome { Problem::Changed, 0, size, {} };
    if (!transaction.commit())
        return engineFailure(handle, SQLITE_ERROR);
    return AddOutcome { Problem::None, id, size, {} };
}

bool writeTo(CADODataBase &db, qint64 id, QIODevice &out, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    std::unique_ptr<Reader> in = Reader::open(db, id);
    if (!in)
        return fail(QStringLiteral("Its bytes cannot be read from the data file: %1")
                        .arg(db.handle() ? QString::fromUtf8(sqlite3_errmsg(db.handle()))
                                         : QStringLiteral("the data file is closed.")));
    const qint64 size = in->size();
    QByteArray buffer(int(std::min(kChunkBytes, std::max<qint64>(size, 1))), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = in->read(buffer.data(), buffer.size());
        if (got <= 0)
            return fail(QStringLiteral("Its bytes cannot be read from the data file."));
        if (out.write(buffer.constData(), got) != got)
            return fail(out.errorString());
        done += got;
        if (!Busy::step(done, size))
            return fail(QString());
    }
    return true;
}

Reader::Reader(sqlite3 *connection, bool owned, sqlite3_blob *blob)
    : m_connection(connection)
    , m_owned(owned)
    , m_blob(blob)
    , m_size(sqlite3_blob_bytes(blob))
{
    QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

Reader::~Reader()
{
    sqlite3_blob_close(m_blob);
    if (m_owned)
        sqlite3_close(m_connection);
}

std::unique_ptr<Reader> Reader::open(CADODataBase &db, qint64 id)
{
    sqlite3 *handle = db.handle();
    sqlite3_blob *blob = nullptr;
    if (!handle
        || sqlite3_blob_open(handle, "main", "AttachmentData", "Data", id, 0, &blob) != SQLITE_OK) {
        sqlite3_blob_close(blob);
        return nullptr;
    }
    return std::unique_ptr<Reader>(new Reader(handle, false, blob));
}

std::unique_ptr<Reader> Reader::openOwnConnection(const QString &dataFile, qint64 id)
{
    sqlite3 *connection = nullptr;
    sqlite3_blob *blob = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(dataFile).constData(), &connection, SQLITE_OPEN_READONLY,
                        nullptr)
            != SQLITE_OK
        || sqlite3_busy_timeout(connection, 2000) != SQLITE_OK
        || sqlite3_blob_open(connection, "main", "AttachmentData", "Data", id, 0, &blob)
            != SQLITE_OK) {
        sqlite3_blob_close(blob);
        sqlite3_close(connection);
        return nullptr;
    }
    return std::unique_ptr<Reader>(new Reader(connection, true, blob));
}

qint64 Reader::readData(char *data, qint64 maxSize)
{
    const qint64 at = pos();
    const qint64 n = std::min(maxSize, m_size - at);
    if (n <= 0)
        return n == 0 ? 0 : -1;
    return sqlite3_blob_read(m_blob, data, int(n), int(at)) == SQLITE_OK ? n : -1;
}

} // namespace Attachments
