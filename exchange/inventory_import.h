#pragma once
// Importing an inventory file into one home: what the import would do (the dialog's preview),
// and the import itself, all rows or none in one transaction. Locations and asset categories
// are found by name, ignoring letter case and surrounding spaces, and made when missing; a row
// of the video category becomes a video title. A row that matches an asset of the home (the
// same description, serial number and purchase date) is skipped, or updates that asset.

#include "exchange/csv_reader.h"
#include "exchange/import_rows.h"
#include "format/display_text.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

class CADODataBase;
class QIODevice;

namespace Import {

enum class Matching { Skip, Update };

struct Settings
{
    Format format;
    bool separatorLine = false; // the text starts with Excel's "sep=" line
    std::vector<Field> fields; // one per column
    Matching matching = Matching::Skip;
    QLocale locale = userLocale();
};

// Settings for bytes as the file itself suggests: the detected format, headers when the first
// row looks like them, and each column's field from its header. An error (empty, binary...)
// leaves the rest as it was.
struct Start
{
    Settings settings;
    QString error;
};
Start startingSettings(const QByteArray &bytes, const QLocale &locale = userLocale());

// The file's columns as the dialog lists them: the header row's cells (or "Column 1", ...),
// each column's first non-empty value, and the home the program's own title line names.
struct Columns
{
    QStringList headers;
    QStringList samples;
    QString exportedHome;
    QString error; // the text cannot be read as rows
};
Columns readColumns(const QByteArray &bytes, const Settings &settings);

// Why one row is not imported: the row (numbered as a spreadsheet numbers them) and where it
// starts in the bytes, the column (-1: the row as a whole), the text found, the reason.
struct Skip
{
    qint64 row = 0;
    qint64 offset = 0;
    int column = -1;
    QString text;
    QString why;
};

// What an import does: counts of rows (neither blank nor the header nor the export's own
// lines), what was or would be made, and every reason a row is skipped, in row order.
struct Summary
{
    qint64 rows = 0;
    qint64 added = 0;
    qint64 updated = 0;
    qint64 skippedRows = 0;
    QStringList newLocations;
    QStringList newCategories;
    std::vector<Skip> skips;
    QString error; // the text stopped being readable part way: nothing can be imported
};

// One row as it would be saved.
struct PlannedRow
{
    qint64 row = 0;
    Row values;
    bool video = false;
    bool update = false; // writes into a matching asset
    bool newLocation = false;
    bool newCategory = false;
};

struct Preview : Summary
{
    std::vector<PlannedRow> first; // the first rows that would be saved
    bool stopped = false; // the user stopped the reading: the figures cover part of the file
};

// What importing bytes into the home would do; changes nothing. Busy::step reports how far it
// has got, and can stop it.
Preview preview(CADODataBase &db, qint32 homeId, const QByteArray &bytes, const Settings &settings,
                int firstRows = 100);

struct Outcome : Summary
{
    bool done = false; // committed
    bool cancelled = false; // the user stopped it; nothing was changed
};

// Imports bytes into the home in one transaction. Busy::step reports how far it has got and
// can stop it. Anything short of done leaves the data file as it was. expectedAdded: the rows
// the preview said would be added (0: unknown), so that their ids are taken in one block.
Outcome run(CADODataBase &db, qint32 homeId, const QByteArray &bytes, const Settings &settings,
            qint64 expectedAdded = 0);

// "312 rows will be imported, 4 will be skipped, 3 locations and 2 categories will be created".
QString previewText(const Summary &summary, const QLocale &locale = userLocale());
// "312 assets imported into Maple Court, 4 rows skipped".
QString outcomeText(const Outcome &outcome, const QString &home,
                    const QLocale &locale = userLocale());

// The skipped rows as a file to mend and import again: UTF-8 with a byte-order mark, CR LF,
// every cell quoted; the first columns say which row and why, the rest are the row's own cells
// under the file's own headers.
bool writeSkipped(const QByteArray &bytes, const Settings &settings, const std::vector<Skip> &skips,
                  QIODevice &out, QString *error = nullptr);
// Beside the source: "<source's name> skipped rows.csv".
QString skippedFileName(const QString &source);

} // namespace Import
