#pragma once
// The entries of a drop-down list (text + a 32-bit value each) and its current selection,
// without a window. A QComboBox shows it through ComboBinding (controls/combo_binding.h).

#include <QAbstractListModel>
#include <QString>
#include <vector>

class CComboModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit CComboModel(bool sorted = false, QObject *parent = nullptr);

    // Adds an entry (in alphabetical place when the list sorts); returns its index.
    int AddString(const QString &text);
    bool SetItemData(int index, qint32 value);
    qint32 GetItemData(int index) const;
    QString GetLBText(int index) const;
    int GetCount() const { return int(m_entries.size()); }
    void ResetContent();
    int GetCurSel() const { return m_current; }
    // -1 clears the selection; an index past the end is refused (-1 returned).
    int SetCurSel(int index);
    // The first entry at or after start whose text equals text, ignoring letter case; -1.
    int FindStringExact(int start, const QString &text) const;
    // The first entry holding value; -1.
    int FindItemData(qint32 value) const;
    bool IsSorted() const { return m_sorted; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

signals:
    void currentChanged(int index);

private:
    struct Entry
    {
        QString text;
        qint32 value = 0;
    };
    std::vector<Entry> m_entries;
    int m_current = -1;
    bool m_sorted;
};
