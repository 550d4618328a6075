#include "controls/list_model.h"

#include <QItemSelectionModel>

#include <algorithm>
#include <utility>

CListModel::CListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_selection(new QItemSelectionModel(this, this))
{
}

CListModel::~CListModel() = default;

// --- columns -----------------------------------------------------------------------------------

int CListModel::InsertColumn(int col, const QString &heading, int format, int width, int subItem)
{
    Q_UNUSED(subItem);
    const int count = GetColumnCount();
    if (col < 0 || col > count)
        col = count;
    if (width < 0)
        width = MeasureHeading(heading);
    const bool batched = batchReset();
    if (!batched)
        beginInsertColumns({}, col, col);
    Column column;
    column.heading = heading;
    column.format = (format >= FormatLeft && format <= FormatCenter) ? format : FormatLeft;
    column.minWidth = width;
    column.serial = m_nextSerial++;
    m_columns.insert(m_columns.begin() + col, column);
    if (col < count) {
        for (Row &row : m_rows) {
            if (row.texts.size() > col)
                row.texts.insert(col, QString());
        }
    }
    m_longestRow.insert(m_longestRow.begin() + col, -2);
    if (m_sortColumn >= col)
        ++m_sortColumn;
    if (!batched)
        endInsertColumns();
    return col;
}

bool CListModel::DeleteColumn(int col)
{
    if (!validColumn(col))
        return false;
    const bool batched = batchReset();
    if (!batched)
        beginRemoveColumns({}, col, col);
    m_columns.erase(m_columns.begin() + col);
    for (Row &row : m_rows) {
        if (row.texts.size() > col)
            row.texts.removeAt(col);
    }
    m_longestRow.erase(m_longestRow.begin() + col);
    if (m_sortColumn == col)
        m_sortColumn = -1;
    else if (m_sortColumn > col)
        --m_sortColumn;
    if (!batched)
        endRemoveColumns();
    return true;
}

int CListModel::GetHeaderWidth(int col) const
{
    return validColumn(col) ? m_columns[col].minWidth : -1;
}

bool CListModel::SetColumnText(int col, const QString &heading)
{
    if (!validColumn(col))
        return false;
    m_columns[col].heading = heading;
    m_columns[col].hidden = heading.isEmpty();
    if (heading.isEmpty())
        m_columns[col].minWidth = 0;
    if (InBatch())
        m_batchHeaderChanged = true;
    else
        emit headerDataChanged(Qt::Horizontal, col, col);
    requestSize(col, Sizing::HeadingOnly);
    return true;
}

QString CListModel::GetColumnText(int col) const
{
    return validColumn(col) ? m_columns[col].heading : QString();
}

bool CListModel::IsColumnHidden(int col) const
{
    return validColumn(col) && m_columns[col].hidden;
}

int CListModel::GetColumnFormat(int col) const
{
    return validColumn(col) ? m_columns[col].format : -1;
}

bool CListModel::SetColumnType(int col, ColumnType type)
{
    if (!validColumn(col) || type < TypeText || type > TypeDate)
        return false;
    m_columns[col].type = type;
    return true;
}

CListModel::ColumnType CListModel::GetColumnType(int col) const
{
    return validColumn(col) ? m_columns[col].type : NoColumnType;
}

bool CListModel::SetMinWidth(int col, int width)
{
    if (!validColumn(col))
        return false;
    m_columns[col].minWidth = width;
    return true;
}

quint32 CListModel::GetColumnSerial(int col) const
{
    return validColumn(col) ? m_columns[col].serial : 0;
}

// --- rows --------------------------------------------------------------------------------------

int CListModel::InsertItem(int row, const QString &text, int image)
{
    const int count = GetItemCount();
    if (row < 0 || row > count)
        row = count;
    const bool batched = batchReset();
    if (!batched)
        beginInsertRows({}, row, row);
    Row record;
    record.texts.append(text);
    record.image = image;
    if (IsFiltered()) {
        // Listed, and placed among all rows just after the listed row before it.
        const int source = row > 0 ? m_listed[row - 1] + 1 : 0;
        m_rows.insert(m_rows.begin() + source, std::move(record));
        for (int &listed : m_listed) {
            if (listed >= source)
                ++listed;
        }
        m_listed.insert(m_listed.begin() + row, source);
    } else {
        m_rows.insert(m_rows.begin() + row, std::move(record));
    }
    for (size_t c = 0; c < m_longestRow.size(); ++c) {
        int &longest = m_longestRow[c];
        if (longest >= row)
            ++longest;
    }
    if (!m_longestRow.empty() && m_longestRow[0] >= 0
        && text.size() > GetItemText(m_longestRow[0], 0).size())
        m_longestRow[0] = row;
    if (!batched)
        endInsertRows();
    requestSize(0, Sizing::HeadingAndContents);
    return row;
}

bool CListModel::SetItemText(int row, int col, const QString &text)
{
    if (!validRow(row) || !validColumn(col))
        return false;
    QList<QString> &texts = at(row).texts;
    if (texts.size() <= col)
        texts.resize(col + 1);
    texts[col] = text;
    int &longest = m_longestRow[col];
    if (longest == row)
        longest = -2; // it may have become shorter
    else if (longest >= 0 && text.size() > GetItemText(longest, col).size())
        longest = row;
    markDataChanged(row, row, col, col);
    requestSize(col, Sizing::HeadingAndContents);
    return true;
}

QString CListModel::GetItemText(int row, int col) const
{
    if (!validRow(row))
        return {};
    const QList<QString> &texts = at(row).texts;
    return col >= 0 && col < texts.size() ? texts[col] : QString();
}

bool CListModel::SetItemData(int row, qint32 value)
{
    if (!validRow(row))
        return false;
    at(row).value = value;
    // Every cell's look depends on the value's sign.
    markDataChanged(row, row, 0, std::max(0, GetColumnCount() - 1));
    return true;
}

qint32 CListModel::GetItemData(int row) const
{
    return validRow(row) ? at(row).value : 0;
}

bool CListModel::SetItemHeading(int row, bool heading)
{
    if (!validRow(row))
        return false;
    at(row).heading = heading;
    markDataChanged(row, row, 0, std::max(0, GetColumnCount() - 1));
    return true;
}

bool CListModel::IsItemHeading(int row) const
{
    return validRow(row) && at(row).heading;
}

bool CListModel::SetItemImage(int row, int image)
{
    if (!validRow(row))
        return false;
    at(row).image = image;
    markDataChanged(row, row, 0, 0);
    return true;
}

int CListModel::GetItemImage(int row) const
{
    return validRow(row) ? at(row).image : -1;
}

bool CListModel::DeleteItem(int row)
{
    if (!validRow(row))
        return false;
    const bool batched = batchReset();
    if (!batched)
        beginRemoveRows({}, row, row);
    if (IsFiltered()) {
        const int source = m_listed[row];
        m_rows.erase(m_rows.begin() + source);
        m_listed.erase(m_listed.begin() + row);
        for (int &listed : m_listed) {
            if (listed > source)
                --listed;
        }
    } else {
        m_rows.erase(m_rows.begin() + row);
    }
    for (int &longest : m_longestRow) {
        if (longest == row)
            longest = -2;
        else if (longest > row)
            --longest;
    }
    if (!batched)
        endRemoveRows();
    return true;
}

bool CListModel::DeleteAllItems()
{
    const bool batched = batchReset();
    if (!batched)
        beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_listed.clear();
    m_filterWords.clear();
    m_keyBlock.clear();
    std::fill(m_longestRow.begin(), m_longestRow.end(), -2);
    if (!batched)
        endResetModel();
    return true;
}

void CListModel::SetCheckBoxes(bool on)
{
    if (m_checkBoxes == on)
        return;
    m_checkBoxes = on;
    if (GetItemCount() > 0)
        markDataChanged(0, GetItemCount() - 1, 0, 0);
}

bool CListModel::SetCheck(int row, bool checked)
{
    if (!validRow(row))
        return false;
    if (at(row).checked == checked)
        return true;
    at(row).checked = checked;
    markDataChanged(row, row, 0, 0);
    emit checkChanged(row, checked);
    return true;
}

bool CListModel::GetCheck(int row) const
{
    return validRow(row) && at(row).checked;
}

// --- selection ---------------------------------------------------------------------------------

QList<int> CListModel::GetSelectedRows() const
{
    if (m_pendingCurSel)
        return *m_pendingCurSel >= 0 ? QList<int> { *m_pendingCurSel } : QList<int> {};
    if (m_resetStarted)
        return {};
    QList<int> rows;
    for (const QItemSelectionRange &range : m_selection->selection()) {
        // A click or a range may take in a heading; it is no selected row for all that.
        for (int r = range.top(); r <= range.bottom(); ++r) {
            if (!IsItemHeading(r))
                rows.append(r);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CListModel::GetSelectedItems(int max, int *out) const
{
    if (max <= 0 || !out)
        return 0;
    const QList<int> rows = GetSelectedRows();
    const int count = std::min<int>(max, rows.size());
    std::copy_n(rows.begin(), count, out);
    return count;
}

int CListModel::GetCurSel() const
{
    const QList<int> rows = GetSelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

int CListModel::SetCurSel(int row)
{
    if (row >= GetItemCount())
        return -1;
    if (InBatch()) {
        m_pendingCurSel = std::max(row, -1);
        return row < 0 ? -1 : 0;
    }
    if (row < 0 || IsItemHeading(row)) {
        m_selection->clearSelection();
        return -1;
    }
    m_selection->select(index(row, 0),
                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return 0;
}

void CListModel::EnsureVisible(int row)
{
    if (InBatch())
        m_pendingVisible = row;
    else if (validRow(row))
        emit ensureVisibleRequested(row);
}

// --- batches -----------------------------------------------------------------------------------

void CListModel::BeginBatch()
{
    ++m_batchDepth;
}

void CListModel::EndBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    if (m_resetStarted) {
        m_resetStarted = false;
        endResetModel();
    } else {
        if (m_batchDataChanged && GetItemCount() > 0 && !m_columns.empty())
            emit dataChanged(index(0, 0), index(GetItemCount() - 1, GetColumnCount() - 1));
        if (m_batchHeaderChanged && !m_columns.empty())
            emit headerDataChanged(Qt::Horizontal, 0, GetColumnCount() - 1);
    }
    m_batchDataChanged = m_batchHeaderChanged = false;
    const auto sizes = std::exchange(m_pendingSizes, {});
    for (const auto &[col, sizing] : sizes) {
        if (validColumn(col))
            emit columnSizeRequested(col, sizing);
    }
    if (const auto row = std::exchange(m_pendingCurSel, std::nullopt))
        SetCurSel(*row);
    if (const auto row = std::exchange(m_pendingVisible, std::nullopt))
        EnsureVisible(*row);
}

bool CListModel::batchReset()
{
    if (m_batchDepth == 0)
        return false;
    if (!m_resetStarted) {
        m_resetStarted = true;
        beginResetModel();
    }
    return true;
}

void CListModel::markDataChanged(int firstRow, int lastRow, int firstCol, int lastCol)
{
    if (InBatch()) {
        m_batchDataChanged = true;
        return;
    }
    if (GetColumnCount() == 0)
        return;
    emit dataChanged(index(firstRow, firstCol), index(lastRow, lastCol));
}

void CListModel::requestSize(int col, Sizing sizing)
{
    if (!InBatch()) {
        emit columnSizeRequested(col, sizing);
        return;
    }
    for (auto &pending : m_pendingSizes) {
        if (pending.first == col) {
            // Contents sizing includes the heading; a later heading-only request replaces it.
            pending.second = sizing;
            return;
        }
    }
    m_pendingSizes.emplace_back(col, sizing);
}

// --- widths ------------------------------------------------------------------------------------

int CListModel::MeasureHeading(const QString &heading) const
{
    if (m_measureHeading)
        return m_measureHeading(heading);
    // No fonts in the core: a plain estimate of an 8-point face plus the header's padding.
    return heading.isEmpty() ? 0 : int(heading.size()) * 7 + 12;
}

int CListModel::GetLongestTextRow(int col) const
{
    if (!validColumn(col) || GetItemCount() == 0)
        return -1;
    int &cached = m_longestRow[col];
    if (cached >= 0 && validRow(cached))
        return cached;
    qsizetype best = -1;
    for (int r = 0; r < GetItemCount(); ++r) {
        const QList<QString> &texts = at(r).texts;
        const qsizetype length = col < texts.size() ? texts[col].size() : 0;
        if (length > best) {
            best = length;
            cached = r;
        }
    }
    return cached;
}

// --- QAbstractItemModel ------------------------------------------------------------------------

int CListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : GetItemCount();
}

int CListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : GetColumnCount();
}

QVariant CListModel::data(const QModelIndex &index, int role) const
{
    // Rows are checked against the data, not only the index: a view may still hold indexes
    // from before a batch reset finished.
    if (!index.isValid() || !validRow(index.row()) || !validColumn(index.column()))
        return {};
    const int row = index.row(), col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return GetItemText(row, col);
    case Qt::UserRole:
        return at(row).value;
    case ImageRole:
        return col == 0 ? QVariant(at(row).image) : QVariant();
    case Qt::TextAlignmentRole:
        return headerData(col, Qt::Horizontal, role);
    case Qt::CheckStateRole:
        if (m_checkBoxes && col == 0 && !at(row).heading)
            return at(row).checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::AccessibleTextRole:
    case Qt::AccessibleDescriptionRole: {
        // A screen reader reads a table's rows as cells; this says which ones title the others.
        if (role == Qt::AccessibleDescriptionRole && at(row).heading)
            return QStringLiteral("heading");
        if (col != 0 || !m_rowNote)
            return {};
        const QString note = m_rowNote(row);
        if (note.isEmpty() || role == Qt::AccessibleDescriptionRole)
            return note.isEmpty() ? QVariant() : QVariant(note);
        return GetItemText(row, col) + QStringLiteral(", ") + note;
    }
    default:
        return {};
    }
}

bool CListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !validRow(index.row()) || !validColumn(index.column()))
        return false;
    switch (role) {
    case Qt::EditRole:
        return SetItemText(index.row(), index.column(), value.toString());
    case Qt::UserRole:
        return SetItemData(index.row(), value.toInt());
    case ImageRole:
        return SetItemImage(index.row(), value.toInt());
    case Qt::CheckStateRole:
        if (!m_checkBoxes || index.column() != 0)
            return false;
        return SetCheck(index.row(), value.toInt() == Qt::Checked);
    default:
        return false;
    }
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !validColumn(section))
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column &column = m_columns[section];
    switch (role) {
    case Qt::DisplayRole:
        return column.heading;
    case Qt::TextAlignmentRole: {
        Qt::Alignment align = Qt::AlignVCenter;
        align |= column.format == FormatRight
            ? Qt::AlignRight
            : (column.format == FormatCenter ? Qt::AlignHCenter : Qt::AlignLeft);
        return int(align);
    }
    case ColumnTypeRole:
        return int(column.type);
    case MinWidthRole:
        return column.minWidth;
    default:
        return {};
    }
}

Qt::ItemFlags CListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (IsItemHeading(index.row()))
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkBoxes && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}
