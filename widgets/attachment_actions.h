#pragma once
// What the user does with attachments wherever they are listed (an asset's or a home's
// Attachments page, the Picture page, Unfiled Attachments): add files, open one with the desktop's
// program, save one elsewhere. Long work shows the progress window and may be cancelled; every
// refusal is told in words, and nothing half-done is ever kept.

#include "records/attachment_store.h"
#include "records/attachments.h"

#include <QStringList>

#include <vector>

class CADODataBase;
class QWidget;

namespace Attachments {

// Adds the files at paths to the asset (or the home's papers), one transaction each; what could
// not be added is told in one message at the end, with the reason for each file. A cancel stops
// at the file under way (which is not kept) and leaves the rest unread. Returns the new ids.
std::vector<qint64> addFiles(QWidget *owner, CADODataBase &db, const QStringList &paths,
                             qint32 homeId, qint32 assetId);

// Why a file was not added, in the user's words.
QString problemText(const AddOutcome &outcome, const QString &fileName, qint64 maximum);

// Opens the attachment with the program the desktop has for its type: on a read-only copy in a
// folder of the program's own, which goes when the program ends (a viewer may still be reading
// it until then).
bool open(QWidget *owner, CADODataBase &db, const Attachment &attachment);

// Asks where to save a copy of the attachment (proposing its own name), then writes it there
// whole; false when cancelled or it failed (the user has been told why).
bool saveAs(QWidget *owner, CADODataBase &db, const Attachment &attachment);

// The folder the opened copies are in (made on first use, 0700; removed at the program's end,
// and by a later run when the run that made it was cut off).
QString openedCopiesFolder();

// The sizes the lists show: "12.5 MB".
QString sizeText(qint64 bytes);

} // namespace Attachments
