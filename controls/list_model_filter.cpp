// Filtering the rows: the rows whose filter key holds every word are listed, by their indexes;
// the others stay in place, unlisted. Typing on narrows the last words, so each further letter
// looks only among the rows still listed, and no row moves: a keystroke stays cheap however long
// the list.
#include "controls/list_model.h"

#include <algorithm>
#include <string_view>

namespace {

// A first-byte scan and a compare: for keys of a few hundred bytes this is about three times
// as fast as memmem, whose setup outweighs the search.
bool holds(const QByteArray &key, const QByteArray &word)
{
    return std::string_view(key.constData(), size_t(key.size()))
               .find(std::string_view(word.constData(), size_t(word.size())))
        != std::string_view::npos;
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
    at(row).filterKey = key;
    return true;
}

QByteArray CListModel::GetItemFilterKey(int row) const
{
    if (!validRow(row))
        return {};
    // A copy of its own: a key in the block lives only as long as the block.
    const QByteArray &key = at(row).filterKey;
    return QByteArray(key.constData(), key.size());
}

void CListModel::SetFilterKeys(const std::function<QByteArray(int row)> &keyOf)
{
    SetFilterWords({});
    std::vector<qsizetype> ends;
    ends.reserve(m_rows.size());
    QByteArray block;
    for (int row = 0; row < int(m_rows.size()); ++row) {
        block += keyOf(row);
        ends.push_back(block.size());
    }
    // The rows point into the new block before the old one goes.
    qsizetype start = 0;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        m_rows[row].filterKey =
            QByteArray::fromRawData(block.constData() + start, ends[row] - start);
        start = ends[row];
    }
    m_keyBlock = std::move(block);
}

void CListModel::SetFilterWords(const QList<QByteArray> &words)
{
    if (words.isEmpty() && !IsFiltered())
        return;
    const bool narrowing = IsFiltered() && isNarrowing(m_filterWords, words);
    const bool batched = batchReset();
    if (!batched)
        beginResetModel();
    m_filterWords = words;
    if (IsFiltered())
        applyWords(narrowing);
    else
        m_listed.clear();
    std::fill(m_longestRow.begin(), m_longestRow.end(), -2);
    if (!batched)
        endResetModel();
}

void CListModel::applyWords(bool narrowing)
{
    if (narrowing) {
        // Only the listed rows can still match; those that do close up in place.
        size_t kept = 0;
        for (int listed : m_listed) {
            if (holdsAll(m_rows[listed].filterKey, m_filterWords))
                m_listed[kept++] = listed;
        }
        m_listed.resize(kept);
        return;
    }
    m_listed.clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (holdsAll(m_rows[i].filterKey, m_filterWords))
            m_listed.push_back(int(i));
    }
}
