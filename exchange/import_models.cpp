#include "exchange/import_models.h"

#include "format/display_text.h"
#include "platform/ole_date.h"
#include "records/asset.h"

namespace Import {
namespace {

enum SkippedColumn { SkippedRow, SkippedWhere, SkippedText, SkippedWhy, SkippedColumns };

QString shortDate(const QDate &date)
{
    return date.isValid() ? dateText(COleDateTime::fromDate(date), false) : QString();
}

} // namespace

void PreviewModel::reset(const std::vector<PlannedRow> &rows, const std::vector<Field> &fields)
{
    beginResetModel();
    m_rows = rows;
    m_shown.clear();
    for (int f = int(Field::Description); f < kFieldCount; ++f) {
        if (std::find(fields.cbegin(), fields.cend(), Field(f)) != fields.cend())
            m_shown.push_back(Field(f));
    }
    endResetModel();
}

int PreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PreviewModel::columnCount(const QModelIndex &parent) const
{
    // The row number, the fields, what the row becomes.
    return parent.isValid() ? 0 : int(m_shown.size()) + 2;
}

QString PreviewModel::action(const PlannedRow &row)
{
    QString text = row.update ? QStringLiteral("Updates the matching asset")
        : row.video
        ? QStringLiteral("New video title (release year %1)")
              .arg(row.values.warrantyExpires.isValid() ? row.values.warrantyExpires.year()
                                                        : CAsset::kNoWarrantyYear)
        : QStringLiteral("New asset");
    if (row.newLocation)
        text += QStringLiteral(", new location");
    if (row.newCategory)
        text += QStringLiteral(", new category");
    return text;
}

QString PreviewModel::text(const PlannedRow &planned, Field field) const
{
    const Row &row = planned.values;
    switch (field) {
    case Field::Ignore:
        break;
    case Field::Description:
        return row.description;
    case Field::Category:
        return row.category.trimmed();
    case Field::Location:
        return row.location.trimmed();
    case Field::MakeModel:
        return row.makeModel;
    case Field::SerialNumber:
        return row.serialNumber;
    case Field::Vendor:
        return row.vendor;
    case Field::Phone:
        return row.phone;
    case Field::Notes:
        return row.notes;
    case Field::Picture:
        return row.picture;
    case Field::PurchaseDate:
        return shortDate(row.purchaseDate);
    case Field::WarrantyExpires:
        return planned.video ? QString() : shortDate(row.warrantyExpires);
    case Field::PurchasePrice:
        return moneyText(row.purchasePrice);
    case Field::CurrentValue:
        return moneyText(row.currentValue);
    case Field::ReplacementValue:
        return moneyText(row.replacementValue);
    }
    return {};
}

QVariant PreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const PlannedRow &row = m_rows[std::size_t(index.row())];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool number = column == 0
            || (column <= int(m_shown.size())
                && (m_shown[std::size_t(column - 1)] == Field::PurchasePrice
                    || m_shown[std::size_t(column - 1)] == Field::CurrentValue
                    || m_shown[std::size_t(column - 1)] == Field::ReplacementValue));
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (column == 0)
        return QString::number(row.row);
    if (column <= int(m_shown.size())) {
        QString value = text(row, m_shown[std::size_t(column - 1)]);
        // One line in the table; the whole text in the tip.
        if (role == Qt::DisplayRole)
            value.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
        return value;
    }
    return action(row);
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return QStringLiteral("Row");
    if (section <= int(m_shown.size()))
        return fieldName(m_shown[std::size_t(section - 1)]);
    return QStringLiteral("Will be");
}

void SkippedModel::reset(const std::vector<Skip> &skips, const QStringList &headers)
{
    beginResetModel();
    m_skips = skips;
    m_headers = headers;
    endResetModel();
}

int SkippedModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_skips.size());
}

int SkippedModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : SkippedColumns;
}

QVariant SkippedModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_skips.size()))
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == SkippedRow)
        return QVariant::fromValue(Qt::AlignVCenter | Qt::AlignRight);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    const Skip &skip = m_skips[std::size_t(index.row())];
    switch (index.column()) {
    case SkippedRow:
        return QString::number(skip.row);
    case SkippedWhere:
        return skip.column >= 0 && skip.column < m_headers.size() ? m_headers[skip.column]
                                                                  : QStringLiteral("(whole row)");
    case SkippedText:
        return skip.text;
    case SkippedWhy:
        return skip.why;
    default:
        return {};
    }
}

QVariant SkippedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case SkippedRow:
        return QStringLiteral("Row");
    case SkippedWhere:
        return QStringLiteral("Column");
    case SkippedText:
        return QStringLiteral("Text");
    case SkippedWhy:
        return QStringLiteral("Why");
    default:
        return {};
    }
}

} // namespace Import
