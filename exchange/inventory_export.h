#pragma once
// The inventory report: one home's assets as comma-separated values, in the fixed 12-column
// layout spreadsheet users have always opened. The writer works on any QIODevice, so the file
// written for the user (under a temporary name, renamed when whole) and a test's buffer get
// exactly the same bytes.

#include "format/display_text.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

class CADODataBase;
class QIODevice;

namespace InventoryExport {

struct Category
{
    qint32 id = 0;
    QString description;
};

// The asset categories, ordered by description, as the export dialog lists them.
std::vector<Category> assetCategories(CADODataBase &db);

// Which categories the user ticked. An asset is exported when its category is ticked, and
// always when its category is not in the list at all (no category, or not an asset category):
// unticking everything must not make uncategorised assets vanish from the report.
class CategoryChoice
{
public:
    void add(qint32 categoryId, bool ticked) { m_rows.push_back({ categoryId, ticked }); }
    bool includes(qint32 categoryId) const;
    bool empty() const { return m_rows.empty(); }

private:
    struct Row
    {
        qint32 id;
        bool ticked;
    };
    std::vector<Row> m_rows;
};

struct Report
{
    qint32 homeId = 0;
    QString homeDescription;
    CategoryChoice categories; // empty: every asset
    QDate today = QDate::currentDate();
    QLocale locale = userLocale(); // dates and money
};

// Writes the report to out: UTF-8 with a byte-order mark, CR LF line ends, every field quoted
// with inner quotes doubled. A text field that a spreadsheet would take for a formula (it
// begins with = + - @, a tab or a carriage return) gets a leading apostrophe; money and dates
// never do. Returns false (with a reason) when the query or a write fails; out may then hold
// part of the report, which is why files are renamed into place only when whole.
bool write(CADODataBase &db, const Report &report, QIODevice &out, QString *error = nullptr);

// One field as the report writes it: in double quotes, a quote inside doubled.
QString quoted(const QString &text);

// The file name the save dialog proposes: the home's description + " Inventory.csv", a slash
// in the description written as a dash.
QString proposedFileName(const QString &homeDescription);

} // namespace InventoryExport
