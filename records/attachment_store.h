#pragma once
// The bytes of attachments: copied from a file into the data file and out again in pieces of a
// quarter megabyte through the engine's incremental BLOB I/O, so that a file of hundreds of
// megabytes never sits in memory whole. Each file goes in with one transaction: a failure, a
// cancel or a kill leaves no row behind, and a file that changes while it is read is refused.
// Long work reports to the labelled Busy scope of the caller (and stops when it is cancelled).

#include "records/attachments.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>

class CADODataBase;
struct sqlite3;
struct sqlite3_blob;

namespace Attachments {

// The piece the bytes travel in.
constexpr qint64 kChunkBytes = 256 * 1024;
// The largest file kept: 1 GiB, or less where the engine keeps less in one value (the usual
// build: a little under 1,000,000,000 bytes).
qint64 maximumSize(CADODataBase &db);

enum class Problem {
    None,
    Missing, // no such file (or a link to nothing)
    Folder, // a folder, not a file
    NotAFile, // a device, a pipe, a socket
    DataFile, // the data file itself, one of its side files, or a link to one
    Unreadable, // the system refused to read it
    Changed, // it changed while it was read
    TooLarge, // over maximumSize()
    DiskFull, // no room left for it beside the data file
    Cancelled, // the user stopped it
    Database, // the engine failed otherwise; detail holds its report
};

struct AddOutcome
{
    Problem problem = Problem::None;
    qint64 id = 0; // of the new attachment
    qint64 size = 0; // of the file, once known
    QString detail; // the system's or the engine's words, for the problems that have some
};

// Copies the file at path into the data file as an attachment of the asset (or of the home,
// kHomeItself), named as the file is, of kind (guessed from name and content when not given),
// added now. Nothing is stored unless every byte was, and the file is the same at the end as at
// the start (size, modification and change times).
AddOutcome add(CADODataBase &db, const QString &path, qint32 homeId, qint32 assetId,
               std::optional<Kind> kind = std::nullopt);

// Writes the attachment's bytes to out, in pieces. False when it cannot be read or written, or
// the labelled Busy scope was cancelled; error says why (empty for a cancel).
bool writeTo(CADODataBase &db, qint64 id, QIODevice &out, QString *error = nullptr);

// The bytes of one attachment as a device that reads them piece by piece on demand (for picture
// readers, which seek). Either on the program's connection (for work on its thread that ends
// before the next change to the data file), or on a read-only connection of its own to the data
// file, for another thread.
class Reader : public QIODevice
{
public:
    ~Reader() override;

    // Null when the attachment has no bytes stored or the file cannot be read.
    static std::unique_ptr<Reader> open(CADODataBase &db, qint64 id);
    static std::unique_ptr<Reader> openOwnConnection(const QString &dataFile, qint64 id);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    Reader(sqlite3 *connection, bool owned, sqlite3_blob *blob);

    sqlite3 *m_connection = nullptr;
    bool m_owned = false;
    sqlite3_blob *m_blob = nullptr;
    qint64 m_size = 0;
};

} // namespace Attachments
