#include "controls/combo_model.h"

#include <algorithm>

CComboModel::CComboModel(bool sorted, QObject *parent)
    : QAbstractListModel(parent)
    , m_sorted(sorted)
{
}

int CComboModel::AddString(const QString &text)
{
    int at = int(m_entries.size());
    if (m_sorted) {
        auto it = std::upper_bound(m_entries.begin(), m_entries.end(), text,
                                   [](const QString &t, const Entry &e) {
                                       return QString::compare(t, e.text, Qt::CaseInsensitive) < 0;
                                   });
        at = int(it - m_entries.begin());
    }
    beginInsertRows(QModelIndex(), at, at);
    m_entries.insert(m_entries.begin() + at, Entry { text, 0 });
    endInsertRows();
    if (m_current >= at) {
        ++m_current;
        emit currentChanged(m_current);
    }
    return at;
}

bool CComboModel::SetItemData(int index, qint32 value)
{
    if (index < 0 || index >= GetCount())
        return false;
    m_entries[size_t(index)].value = value;
    return true;
}

qint32 CComboModel::GetItemData(int index) const
{
    return index >= 0 && index < GetCount() ? m_entries[size_t(index)].value : 0;
}

QString CComboModel::GetLBText(int index) const
{
    return index >= 0 && index < GetCount() ? m_entries[size_t(index)].text : QString();
}

void CComboModel::ResetContent()
{
    beginResetModel();
    m_entries.clear();
    endResetModel();
    if (m_current != -1) {
        m_current = -1;
        emit currentChanged(-1);
    }
}

int CComboModel::SetCurSel(int index)
{
    if (index < -1 || index >= GetCount())
        return -1;
    if (index != m_current) {
        m_current = index;
        emit currentChanged(index);
    }
    return index;
}

int CComboModel::FindStringExact(int start, const QString &text) const
{
    for (int i = std::max(start, 0); i < GetCount(); ++i) {
        if (m_entries[size_t(i)].text.compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int CComboModel::FindItemData(qint32 value) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (m_entries[size_t(i)].value == value)
            return i;
    }
    return -1;
}

int CComboModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : GetCount();
}

QVariant CComboModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= GetCount())
        return {};
    const Entry &e = m_entries[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return e.text;
    if (role == Qt::UserRole)
        return e.value;
    return {};
}
