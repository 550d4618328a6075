// Filtering the rows: rows whose filter key lacks a word are set aside, in their order, and come
// back when the words change. Typing on narrows the last words, so each further letter looks
// only among the rows still listed; that keeps a keystroke cheap however long the list.
#include "controls/list_model.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

bool holds(const QByteArray &key, const QByteArray &word)
{
    return memmem(key.constData(), size_t(key.size()), word.constData(), size_t(word.size()))
        != nullptr;
}

bool holdsAll(const QByteArray &key, const QList<QByteArray> &words)
{
    return std::all_of(words.begin(), words.end(),
                       [&key](const QByteArray &word) { return holds(key, word); });
}

// Every key that holds all of next holds all of previous: each previous word is part of some
// next word.
bool isNarrowing(const QList<QByteArray> &previous, const QList<QByteArray> &next)
{
    return std::all_of(previous.begin(), previous.end(), [&next](const QByteArray &before) {
        return std::any_of(next.begin(), next.end(),
                           [&before](const QByteArray &now) { return holds(now, before); });
    });
}

} // namespace

bool CListModel::SetItemFilterKey(int row, const QByteArray &key)
{
    if (!validRow(row))
        return false;
    m_rows[row].filterKey = key;
    return true;
}

QByteArray CListModel::GetItemFilterKey(int row) const
{
    return validRow(row) ? m_rows[row].filterKey : QByteArray();
}

void CListModel::SetFilterWords(const QList<QByteArray> &words)
{
    if (words.isEmpty() && !IsFiltered())
        return;
    const bool narrowing = IsFiltered() && isNarrowing(m_filterWords, words);
    const bool batched = batchReset();
    if (!batched)
        beginResetModel();
    if (!narrowing)
        restoreSetAside();
    m_filterWords = words;
    if (IsFiltered())
        applyWords(narrowing);
    std::fill(m_longestRow.begin(), m_longestRow.end(), -2);
    if (!batched)
        endResetModel();
}

void CListModel::restoreSetAside()
{
    if (m_setAside.empty())
        return;
    std::vector<Row> whole;
    whole.reserve(m_rows.size() + m_setAside.size());
    std::merge(std::make_move_iterator(m_rows.begin()), std::make_move_iterator(m_rows.end()),
               std::make_move_iterator(m_setAside.begin()),
               std::make_move_iterator(m_setAside.end()), std::back_inserter(whole),
               [](const Row &a, const Row &b) { return a.ordinal < b.ordinal; });
    m_rows.swap(whole);
    m_setAside.clear();
}

void CListModel::applyWords(bool narrowing)
{
    // Without narrowing the listed rows are the whole list; their places are numbered afresh.
    if (!narrowing) {
        for (size_t i = 0; i < m_rows.size(); ++i)
            m_rows[i].ordinal = qint64(i);
    }
    std::vector<Row> kept, dropped;
    kept.reserve(m_rows.size());
    for (Row &row : m_rows)
        (holdsAll(row.filterKey, m_filterWords) ? kept : dropped).push_back(std::move(row));
    m_rows.swap(kept);
    if (m_setAside.empty()) {
        m_setAside.swap(dropped);
        return;
    }
    std::vector<Row> aside;
    aside.reserve(m_setAside.size() + dropped.size());
    std::merge(std::make_move_iterator(m_setAside.begin()),
               std::make_move_iterator(m_setAside.end()), std::make_move_iterator(dropped.begin()),
               std::make_move_iterator(dropped.end()), std::back_inserter(aside),
               [](const Row &a, const Row &b) { return a.ordinal < b.ordinal; });
    m_setAside.swap(aside);
}
