#include "exchange/import_rows.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace Import {
namespace {

const QLatin1String kTitlePrefix("Home Inventory Report for ");
const QLatin1String kClosingPrefix("Created by Domelio on ");

// A header as it is looked up: letters and digits only, lower case.
QString headerKey(QStringView header)
{
    QString key;
    key.reserve(header.size());
    for (QChar c : header) {
        if (c.isLetterOrNumber())
            key.append(c.toLower());
    }
    return key;
}

using Names = std::initializer_list<std::pair<const char *, Field>>;

// The headers people and programs write, as keys. The export's own come first: they are the
// field names themselves, and its "Asset" for the description.
const QHash<QString, Field> &commonHeaders()
{
    static const QHash<QString, Field> table = [] {
        const Names names = {
            { "description", Field::Description },
            { "asset", Field::Description },
            { "name", Field::Description },
            { "item", Field::Description },
            { "itemname", Field::Description },
            { "assetname", Field::Description },
            { "category", Field::Category },
            { "location", Field::Location },
            { "room", Field::Location },
            { "area", Field::Location },
            { "makemodel", Field::MakeModel },
            { "makeandmodel", Field::MakeModel },
            { "make", Field::MakeModel },
            { "model", Field::MakeModel },
            { "brand", Field::MakeModel },
            { "manufacturer", Field::MakeModel },
            { "modelnumber", Field::MakeModel },
            { "genre", Field::MakeModel },
            { "serial", Field::SerialNumber },
            { "serialnumber", Field::SerialNumber },
            { "serialno", Field::SerialNumber },
            { "dealerstore", Field::Vendor },
            { "dealer", Field::Vendor },
            { "store", Field::Vendor },
            { "vendor", Field::Vendor },
            { "shop", Field::Vendor },
            { "seller", Field::Vendor },
            { "retailer", Field::Vendor },
            { "purchasedfrom", Field::Vendor },
            { "phone", Field::Phone },
            { "phonenumber", Field::Phone },
            { "telephone", Field::Phone },
            { "purchasedate", Field::PurchaseDate },
            { "purchased", Field::PurchaseDate },
            { "date", Field::PurchaseDate },
            { "datepurchased", Field::PurchaseDate },
            { "dateofpurchase", Field::PurchaseDate },
            { "purchaseprice", Field::PurchasePrice },
            { "price", Field::PurchasePrice },
            { "cost", Field::PurchasePrice },
            { "pricepaid", Field::PurchasePrice },
            { "currentvalue", Field::CurrentValue },
            { "value", Field::CurrentValue },
            { "worth", Field::CurrentValue },
            { "estimatedvalue", Field::CurrentValue },
            { "replacementvalue", Field::ReplacementValue },
            { "replacementcost", Field::ReplacementValue },
            { "warrantyexpires", Field::WarrantyExpires },
            { "warranty", Field::WarrantyExpires },
            { "warrantyexpiration", Field::WarrantyExpires },
            { "warrantyexpiry", Field::WarrantyExpires },
            { "warrantyends", Field::WarrantyExpires },
            { "warrantyuntil", Field::WarrantyExpires },
            { "notes", Field::Notes },
            { "note", Field::Notes },
            { "comments", Field::Notes },
            { "comment", Field::Notes },
            { "picture", Field::Picture },
            { "photo", Field::Picture },
            { "image", Field::Picture },
        };
        QHash<QString, Field> t;
        for (const auto &[key, field] : names)
            t.insert(QLatin1String(key), field);
        return t;
    }();
    return table;
}

// Homebox's export names every column "HB.<name>". Its name is the item's own name, its
// description a longer text (notes here); what it has that an asset has not (quantity, labels,
// sold, insured...) stays out.
const QHash<QString, Field> &homeboxHeaders()
{
    static const QHash<QString, Field> table = [] {
        const Names names = {
            { "name", Field::Description },
            { "location", Field::Location },
            { "description", Field::Notes },
            { "notes", Field::Notes },
            { "purchaseprice", Field::PurchasePrice },
            { "purchasefrom", Field::Vendor },
            { "purchasetime", Field::PurchaseDate },
            { "purchasedate", Field::PurchaseDate },
            { "manufacturer", Field::MakeModel },
            { "modelnumber", Field::MakeModel },
            { "serialnumber", Field::SerialNumber },
            { "warrantyexpires", Field::WarrantyExpires },
        };
        QHash<QString, Field> t;
        for (const auto &[key, field] : names)
            t.insert(QLatin1String(key), field);
        return t;
    }();
    return table;
}

bool startsFormula(QChar c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

} // namespace

QString fieldName(Field field)
{
    switch (field) {
    case Field::Ignore:
        break;
    case Field::Description:
        return QStringLiteral("Description");
    case Field::Category:
        return QStringLiteral("Category");
    case Field::Location:
        return QStringLiteral("Location");
    case Field::MakeModel:
        return QStringLiteral("Make/Model");
    case Field::SerialNumber:
        return QStringLiteral("Serial #");
    case Field::Vendor:
        return QStringLiteral("Dealer/Store");
    case Field::Phone:
        return QStringLiteral("Phone #");
    case Field::PurchaseDate:
        return QStringLiteral("Purchase Date");
    case Field::PurchasePrice:
        return QStringLiteral("Purchase Price");
    case Field::CurrentValue:
        return QStringLiteral("Current Value");
    case Field::ReplacementValue:
        return QStringLiteral("Replacement Value");
    case Field::WarrantyExpires:
        return QStringLiteral("Warranty Expires");
    case Field::Notes:
        return QStringLiteral("Notes");
    case Field::Picture:
        return QStringLiteral("Picture");
    }
    return QStringLiteral("(ignore)");
}

Field fieldForHeader(const QString &header)
{
    const QStringView trimmed = QStringView(header).trimmed();
    if (trimmed.startsWith(QLatin1String("hb."), Qt::CaseInsensitive))
        return homeboxHeaders().value(headerKey(trimmed.mid(3)), Field::Ignore);
    return commonHeaders().value(headerKey(trimmed), Field::Ignore);
}

std::vector<Field> fieldsForHeaders(const QStringList &headers)
{
    std::vector<Field> fields;
    quint32 taken = 0;
    for (const QString &header : headers) {
        Field field = fieldForHeader(header);
        const quint32 bit = 1u << int(field);
        if (field != Field::Ignore && (taken & bit))
            field = Field::Ignore;
        taken |= bit;
        fields.push_back(field);
    }
    return fields;
}

bool looksLikeHeaders(const QStringList &cells, Values &values)
{
    if (cells.isEmpty())
        return false;
    bool allText = true;
    for (const QString &cell : cells) {
        if (fieldForHeader(cell) != Field::Ignore)
            return true;
        const QString trimmed = cell.trimmed();
        if (trimmed.isEmpty() || values.amount(trimmed) || values.date(trimmed))
            allText = false;
    }
    return allText;
}

bool isExportTitle(const QStringList &cells)
{
    return cells.size() == 1 && cells[0].startsWith(kTitlePrefix);
}

bool isExportClosing(const QStringList &cells)
{
    return cells.size() == 1 && cells[0].startsWith(kClosingPrefix);
}

QString exportedHome(const QStringList &titleCells)
{
    return isExportTitle(titleCells) ? titleCells[0].mid(kTitlePrefix.size()) : QString();
}

QString withoutFormulaGuard(const QString &text)
{
    if (text.size() >= 2 && text[0] == u'\'' && startsFormula(text[1]))
        return text.mid(1);
    return text;
}

RowConverter::RowConverter(std::vector<Field> fields, const QLocale &locale)
    : m_fields(std::move(fields))
    , m_values(locale)
{
}

int RowConverter::columnOf(Field field) const
{
    const auto it = std::find(m_fields.cbegin(), m_fields.cend(), field);
    return it == m_fields.cend() ? -1 : int(it - m_fields.cbegin());
}

bool RowConverter::convert(const QStringList &cells, Row &row, std::vector<Problem> &problems)
{
    row = Row();
    const std::size_t before = problems.size();
    const int columns = int(m_fields.size());
    // Cells past the last column are a shifted row (a separator inside an unquoted cell) unless
    // they are empty (a spreadsheet's trailing separators).
    for (int i = columns; i < cells.size(); ++i) {
        if (!cells[i].trimmed().isEmpty()) {
            problems.push_back({ i, cells[i],
                                 QStringLiteral("the row has %1 cells, the file %2 columns")
                                     .arg(cells.size())
                                     .arg(columns) });
            break;
        }
    }
    const int n = std::min(columns, int(cells.size()));
    for (int i = 0; i < n; ++i) {
        const Field field = m_fields[std::size_t(i)];
        const QString &cell = cells[i];
        if (field == Field::Ignore || cell.isEmpty())
            continue;
        auto amount = [&](double &target) {
            if (cell.trimmed().isEmpty())
                return;
            if (const auto value = m_values.amount(cell)) {
                target = *value;
                row.filled |= 1u << int(field);
            } else {
                problems.push_back({ i, cell, QStringLiteral("'%1' is not an amount").arg(cell) });
            }
        };
        auto date = [&](QDate &target) {
            if (cell.trimmed().isEmpty())
                return;
            if (const auto value = m_values.date(cell)) {
                target = *value;
                row.filled |= 1u << int(field);
            } else {
                problems.push_back({ i, cell, QStringLiteral("'%1' is not a date").arg(cell) });
            }
        };
        auto text = [&](QString &target) {
            target = withoutFormulaGuard(cell);
            row.filled |= 1u << int(field);
        };
        switch (field) {
        case Field::Ignore:
            break;
        case Field::Description:
            text(row.description);
            break;
        case Field::Category:
            text(row.category);
            break;
        case Field::Location:
            text(row.location);
            break;
        case Field::MakeModel:
            text(row.makeModel);
            break;
        case Field::SerialNumber:
            text(row.serialNumber);
            break;
        case Field::Vendor:
            text(row.vendor);
            break;
        case Field::Phone:
            text(row.phone);
            break;
        case Field::Notes:
            text(row.notes);
            break;
        case Field::Picture:
            text(row.picture);
            break;
        case Field::PurchaseDate:
            date(row.purchaseDate);
            break;
        case Field::WarrantyExpires:
            date(row.warrantyExpires);
            break;
        case Field::PurchasePrice:
            amount(row.purchasePrice);
            break;
        case Field::CurrentValue:
            amount(row.currentValue);
            break;
        case Field::ReplacementValue:
            amount(row.replacementValue);
            break;
        }
    }
    if (row.description.trimmed().isEmpty())
        problems.push_back(
            { columnOf(Field::Description), row.description, QStringLiteral("no description") });
    return problems.size() == before;
}

} // namespace Import
