// Sorting the rows: each column type compares its cell texts in its own way (numbers by their
// leading digits as the C library reads them, dates in the locale's formats, text without regard
// to letter case), and a header click sorts by a column, turning the direction on a second click.
#include "controls/list_model.h"

#include <QDate>
#include <QHash>
#include <QItemSelectionModel>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace {

bool isCSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r';
}

// The value atof() gives: the longest leading decimal number (after blanks), 0 when there is
// none. Read by hand because strtod follows the process's LC_NUMERIC, which Qt sets from the
// environment, and sorting must not change with the user's decimal separator.
double leadingDouble(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isCSpace(text[i]))
        ++i;
    std::string number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            number += '-';
        ++i;
    }
    bool digits = false;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        number += char(text[i].unicode());
        digits = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        std::string fraction;
        ++i;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            fraction += char(text[i].unicode());
            ++i;
        }
        if (!fraction.empty()) {
            if (!digits)
                number += '0';
            number += '.' + fraction;
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exponent += char(text[j++].unicode());
        bool expDigits = false;
        while (j < n && text[j].unicode() >= '0' && text[j].unicode() <= '9') {
            exponent += char(text[j++].unicode());
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    Q_UNUSED(ptr);
    if (ec == std::errc::result_out_of_range) {
        // atof gives +-HUGE_VAL on overflow and 0 on underflow.
        const bool negative = number.front() == '-';
        const bool tiny = number.find("e-") != std::string::npos;
        value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return value;
}

// The value atoi() gives, saturated at the 32-bit limits instead of overflowing.
qint64 leadingInt(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        value = std::min<qint64>(value * 10 + (text[i].unicode() - '0'), qint64(1) << 32);
        ++i;
    }
    value = negative ? -value : value;
    return std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                              std::numeric_limits<qint32>::max());
}

int sign(qint64 v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// The formats a date-only text may come in, in the given locale: its short and long date formats
// (the short one also with a four-digit year, which users type), the date part of a text that
// carries a time, and ISO as a last resort.
QStringList dateFormats(const QLocale &locale)
{
    QStringList formats;
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    formats << shortFormat;
    if (shortFormat.contains(QLatin1String("yy")) && !shortFormat.contains(QLatin1String("yyyy"))) {
        QString longYear = shortFormat;
        longYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        formats << longYear;
    }
    formats << locale.dateFormat(QLocale::LongFormat) << locale.dateFormat(QLocale::NarrowFormat)
            << QStringLiteral("yyyy-MM-dd");
    formats.removeDuplicates();
    return formats;
}

QDate parseWithFormats(const QString &text, const QLocale &locale, const QStringList &formats)
{
    for (const QString &format : formats) {
        QDate date = locale.toDate(text, format);
        if (!date.isValid())
            continue;
        // Two-digit years fall in 1930..2029, as the desktop reads them.
        if (!format.contains(QLatin1String("yyyy")) && date.year() < 1930)
            date = date.addYears(100);
        return date;
    }
    return {};
}

QDate parseDateOnly(const QString &text, const QLocale &locale, const QStringList &formats)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (const QDate date = parseWithFormats(trimmed, locale, formats); date.isValid())
        return date;
    // A date followed by a time: only the date part counts.
    const qsizetype blank = trimmed.indexOf(u' ');
    if (blank > 0)
        return parseWithFormats(trimmed.left(blank), locale, formats);
    return {};
}

int compareText(const QString &a, const QString &b)
{
    // Case-sensitive, by character code (UTF-16 units).
    return sign(a.compare(b, Qt::CaseSensitive));
}

} // namespace

struct CListModel::SortKey
{
    const QString *text = nullptr;
    double number = 0.0;
    float single = 0.0f;
    qint64 size = 0;
    QDate date;
};

// --- sorting -----------------------------------------------------------------------------------

CListModel::SortKey CListModel::makeKey(ColumnType type, const QString &text, const QLocale &locale,
                                        const QStringList &formats)
{
    SortKey key;
    key.text = &text;
    switch (type) {
    case TypeNumber:
        key.number = leadingDouble(text);
        key.single = float(key.number);
        break;
    case TypeSize: {
        qint64 value = leadingInt(text);
        if (text.endsWith(u'K'))
            value *= 1024;
        else if (text.endsWith(u'M'))
            value *= 1024000; // a thousand K, not 1,048,576: the list's unit
        key.size = value;
        break;
    }
    case TypeDate:
        key.date = parseDateOnly(text, locale, formats);
        break;
    default:
        break;
    }
    return key;
}

int CListModel::compareKeys(ColumnType type, const SortKey &a, const SortKey &b)
{
    switch (type) {
    case TypeNumber:
        // The first value is held at single precision and equal values give -1 both ways (the
        // exported comparison's long-standing behaviour); such rows keep the order the stable
        // sort finds them in.
        return b.number > double(a.single) ? 1 : -1;
    case TypeSize:
        return sign(b.size - a.size);
    case TypeDate:
        // A text that is no date sorts before every date; two of them are equal.
        if (!a.date.isValid() || !b.date.isValid())
            return int(a.date.isValid()) - int(b.date.isValid());
        return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    default:
        return compareText(*a.text, *b.text);
    }
}

int CListModel::CompareTexts(ColumnType type, const QString &a, const QString &b) const
{
    const QStringList formats = type == TypeDate ? dateFormats(m_dateLocale) : QStringList();
    return compareKeys(type, makeKey(type, a, m_dateLocale, formats),
                       makeKey(type, b, m_dateLocale, formats));
}

bool CListModel::IsDisplayedAscending() const
{
    const ColumnType type = GetColumnType(m_sortColumn);
    const bool numeric = type == TypeNumber || type == TypeSize;
    return numeric ? !m_sortFlag : m_sortFlag;
}

void CListModel::SortOnColumn(int col)
{
    if (col == -1 || !validColumn(col))
        return;
    if (col != m_sortColumn) {
        m_sortColumn = col;
        m_sortFlag = true;
    } else {
        m_sortFlag = !m_sortFlag;
    }
    if (!IsFiltered()) {
        sortRows(col, !m_resetStarted);
        return;
    }
    // The unlisted rows take their sorted places too; the words then list the same rows again.
    const bool batched = batchReset();
    if (!batched)
        beginResetModel();
    const QList<QByteArray> words = std::exchange(m_filterWords, {});
    sortRows(col, false);
    m_filterWords = words;
    applyWords(false);
    std::fill(m_longestRow.begin(), m_longestRow.end(), -2);
    if (!batched)
        endResetModel();
}

void CListModel::sortRows(int col, bool notify)
{
    const int n = GetItemCount();
    if (n < 2)
        return;

    // Each row's key is read once; the comparison then works on the keys.
    const ColumnType type = m_columns[col].type;
    const QStringList formats = type == TypeDate ? dateFormats(m_dateLocale) : QStringList();
    static const QString empty;
    std::vector<SortKey> keys(n);
    std::vector<const QString *> firstTexts(n);
    QHash<QString, QDate> parsedDates; // dates repeat; reading one in a locale is not cheap
    for (int r = 0; r < n; ++r) {
        const QList<QString> &texts = m_rows[r].texts;
        const QString &text = col < texts.size() ? texts[col] : empty;
        if (type == TypeDate) {
            auto found = parsedDates.constFind(text);
            if (found == parsedDates.constEnd())
                found = parsedDates.insert(text, makeKey(type, text, m_dateLocale, formats).date);
            keys[r].text = &text;
            keys[r].date = *found;
        } else {
            keys[r] = makeKey(type, text, m_dateLocale, formats);
        }
        firstTexts[r] = texts.isEmpty() ? &empty : &texts[0];
    }
    const bool flag = m_sortFlag;
    auto compare = [&](int a, int b) {
        int r = compareKeys(type, keys[a], keys[b]);
        if (!flag)
            r = -r;
        if (r == 0 && col != 0) {
            r = compareText(*firstTexts[a], *firstTexts[b]);
            if (!flag)
                r = -r;
        }
        return r;
    };

    // A bottom-up merge sort of row numbers: stable, and safe with the type-1 comparison, which
    // is no strict weak ordering (equal values compare -1 both ways).
    std::vector<int> order(n), buffer(n);
    for (int r = 0; r < n; ++r)
        order[r] = r;
    for (int width = 1; width < n; width *= 2) {
        for (int lo = 0; lo < n; lo += 2 * width) {
            const int mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            int i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                buffer[k++] = compare(order[i], order[j]) <= 0 ? order[i++] : order[j++];
            while (i < mid)
                buffer[k++] = order[i++];
            while (j < hi)
                buffer[k++] = order[j++];
        }
        order.swap(buffer);
    }

    if (notify)
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(n);
    std::vector<int> newRowOf(n);
    for (int k = 0; k < n; ++k) {
        sorted.push_back(std::move(m_rows[order[k]]));
        newRowOf[order[k]] = k;
    }
    m_rows.swap(sorted);
    for (int &longest : m_longestRow) {
        if (longest >= 0)
            longest = newRowOf[longest];
    }
    if (notify) {
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex &index : from)
            to.append(validRow(index.row()) ? this->index(newRowOf[index.row()], index.column())
                                            : QModelIndex());
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
}
