#pragma once
// The rows of an imported file as assets: which column goes into which of an asset's fields
// (found from the headers the inventory export, Homebox's CSV export and people write), and
// each row's cells read into those fields, or the reasons the row cannot be imported.

#include "exchange/import_values.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace Import {

// The fields a column can go into, in the order the dialog offers them.
enum class Field : quint8 {
    Ignore,
    Description,
    Category,
    Location,
    MakeModel,
    SerialNumber,
    Vendor,
    Phone,
    PurchaseDate,
    PurchasePrice,
    CurrentValue,
    ReplacementValue,
    WarrantyExpires,
    Notes,
    Picture,
};
constexpr int kFieldCount = int(Field::Picture) + 1;

// "Description", "Serial #", ... and "(ignore)".
QString fieldName(Field field);

// The field a column with this header goes into, in any letter case and with or without spaces
// and marks ("Serial #", "serial_number", "SERIAL NUMBER"); Ignore when the header names none.
Field fieldForHeader(const QString &header);
// One field per header: each column its header's field, except that a field already taken by an
// earlier column leaves the later one ignored (two columns never fill one field).
std::vector<Field> fieldsForHeaders(const QStringList &headers);

// Whether a row names columns rather than holding an asset: a cell is a known header, or every
// cell is text that is neither an amount nor a date.
bool looksLikeHeaders(const QStringList &cells, Values &values);

// The inventory export's own lines around its rows: the title line first and the closing
// "Created by" line last, one cell each.
bool isExportTitle(const QStringList &cells);
bool isExportClosing(const QStringList &cells);
// The home the title line names.
QString exportedHome(const QStringList &titleCells);

// One row read into an asset's fields. Empty cells leave a field as a new asset has it: texts
// empty, amounts 0, dates null (no date).
struct Row
{
    QString description;
    QString category;
    QString location;
    QString makeModel;
    QString serialNumber;
    QString vendor;
    QString phone;
    QString notes;
    QString picture;
    double purchasePrice = 0;
    double currentValue = 0;
    double replacementValue = 0;
    QDate purchaseDate;
    QDate warrantyExpires;
    // Which fields a non-empty cell filled (bit = int(Field)).
    quint32 filled = 0;

    bool has(Field field) const { return filled & (1u << int(field)); }
};

// Why a row is not imported: the column (-1 for the row as a whole), the text found, the reason.
struct Problem
{
    int column = -1;
    QString text;
    QString why;
};

class RowConverter
{
public:
    RowConverter(std::vector<Field> fields, const QLocale &locale);

    // Reads cells into row. False when the row cannot be imported; problems then says why, one
    // entry per faulty cell.
    bool convert(const QStringList &cells, Row &row, std::vector<Problem> &problems);

    const std::vector<Field> &fields() const { return m_fields; }
    Values &values() { return m_values; }
    // The column that fills field; -1 when none does.
    int columnOf(Field field) const;

private:
    std::vector<Field> m_fields;
    Values m_values;
};

// The cell text as it was before the export made it safe for spreadsheets: the one apostrophe
// it puts before text starting with = + - @, a tab or a carriage return comes off again.
QString withoutFormulaGuard(const QString &text);

} // namespace Import
