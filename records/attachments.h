#pragma once
// Attachments: files kept inside the data file with an asset (receipts, photos from every side,
// the serial plate, the manual) or with a home itself (deed, insurance policy; asset id 0), so
// that a backup holds them and moving a folder loses none. One row of the Attachments table each,
// keyed by the engine. Everything here reads and writes the description only: the bytes travel
// through attachment_store.h, in pieces, and nothing here ever reads them.

#include "platform/ole_date.h"

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

class CADODataBase;

namespace Attachments {

// Stored as these numbers.
enum class Kind { Photo = 1, Receipt = 2, Manual = 3, Warranty = 4, Other = 5 };
constexpr Kind kKinds[] = { Kind::Photo, Kind::Receipt, Kind::Manual, Kind::Warranty, Kind::Other };

// "Photo", "Receipt"...; Other for a number outside the list.
QString kindName(Kind kind);
Kind kindOf(int stored);

// The kind a new file most likely is, from words in its name ("receipt", "manual"...) and then
// its content type (a picture is a photo).
Kind guessKind(const QString &fileName, const QString &mimeType);

// The asset id of a home's own papers.
constexpr qint32 kHomeItself = 0;

struct Attachment
{
    qint64 id = 0;
    qint32 homeId = 0;
    qint32 assetId = kHomeItself;
    Kind kind = Kind::Other;
    QString fileName;
    QString mimeType;
    COleDateTime added = COleDateTime::invalidDate();
    qint64 size = 0;
    // Shown as the asset's (or the home's) picture.
    bool isPicture = false;

    // A picture type the program can show (a photo, a scanned receipt), by its content type.
    bool isImage() const;
};

// The attachments of one asset (or of the home itself, kHomeItself), by kind and then name.
std::vector<Attachment> list(CADODataBase &db, qint32 homeId, qint32 assetId);
// Every attachment of a home's assets and of the home itself, by asset, kind and name.
std::vector<Attachment> listOfHome(CADODataBase &db, qint32 homeId);
std::optional<Attachment> find(CADODataBase &db, qint64 id);
// The attachment shown as the asset's or the home's picture, if one is.
std::optional<Attachment> pictureOf(CADODataBase &db, qint32 homeId, qint32 assetId);

// Per asset of a home that has any: how many attachments, and whether one is its picture.
// Answered from the index alone, so the inventory's fill never visits a row.
struct Marks
{
    int count = 0;
    bool picture = false;
};
QHash<qint32, Marks> marksByAsset(CADODataBase &db, qint32 homeId);

bool setKind(CADODataBase &db, qint64 id, Kind kind);
// Makes the attachment its owner's picture (taking the mark from any other), or takes the mark
// away.
bool setPicture(CADODataBase &db, qint64 id, bool picture);
bool remove(CADODataBase &db, qint64 id);
// Files the attachment under another asset (or a home's own papers). It is not the picture
// there until chosen as such.
bool moveTo(CADODataBase &db, qint64 id, qint32 homeId, qint32 assetId);

// Attachments whose asset (or whose home, for a home's papers) is no longer in the data file, or
// whose asset now belongs to another home: what a copy back from the handheld can leave. They
// are kept until the user files or removes them.
std::vector<Attachment> unfiled(CADODataBase &db);
int unfiledCount(CADODataBase &db);

} // namespace Attachments
