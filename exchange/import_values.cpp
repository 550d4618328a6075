#include "exchange/import_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace Import {
namespace {

constexpr double kLargestAmount = 1e12;
constexpr qsizetype kLongestAmount = 40;
constexpr qsizetype kDateCacheLimit = 50000;

bool asciiDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Whether a date format has only numbers (d, dd, M, MM, yy, yyyy) between its other characters,
// so that it can be read here without the locale's month and day names.
bool numericFormat(const QString &format)
{
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'')
            return false;
        if (!c.isLetter()) {
            ++i;
            continue;
        }
        qsizetype n = 0;
        while (i + n < format.size() && format[i + n] == c)
            ++n;
        const bool number =
            ((c == u'd' || c == u'M') && n <= 2) || (c == u'y' && (n == 2 || n == 4));
        if (!number)
            return false;
        i += n;
    }
    return true;
}

QDate numericDate(QStringView text, const QString &format)
{
    int day = -1;
    int month = -1;
    int year = -1;
    qsizetype t = 0;
    for (qsizetype f = 0; f < format.size();) {
        const QChar c = format[f];
        if (c != u'd' && c != u'M' && c != u'y') {
            if (t >= text.size() || text[t] != c)
                return {};
            ++t;
            ++f;
            continue;
        }
        qsizetype n = 0;
        while (f + n < format.size() && format[f + n] == c)
            ++n;
        f += n;
        const int least = c == u'y' ? int(n) : 1;
        const int most = c == u'y' ? int(n) : 2;
        int value = 0;
        int digits = 0;
        while (t < text.size() && digits < most && asciiDigit(text[t])) {
            value = value * 10 + (text[t].unicode() - u'0');
            ++t;
            ++digits;
        }
        if (digits < least)
            return {};
        if (c == u'd')
            day = value;
        else if (c == u'M')
            month = value;
        else
            year = n == 2 ? fullYear(value) : value;
    }
    if (t != text.size() || day < 0 || month < 0 || year < 0)
        return {};
    return QDate(year, month, day);
}

// "2019-05-14", also followed by a time ("2019-05-14T10:00:00Z", "2019-05-14 10:00").
QDate isoDate(QStringView text)
{
    if (text.size() < 8 || !asciiDigit(text[0]) || !asciiDigit(text[1]) || !asciiDigit(text[2])
        || !asciiDigit(text[3]) || text[4] != u'-')
        return {};
    qsizetype end = text.size();
    for (qsizetype i = 5; i < text.size(); ++i) {
        if (text[i] == u'T' || text[i] == u' ') {
            end = i;
            break;
        }
    }
    return numericDate(text.left(end), QStringLiteral("yyyy-M-d"));
}

// One way of reading the digits and marks of an amount (ASCII: digits, '.', ',', and ' ' for
// a space or an apostrophe): which mark is the decimal one, and which ones group thousands.
// Groups must be of three digits (the first of one to three), so "1,25" is no amount in a
// locale that groups with commas.
std::optional<double> readNumber(std::string_view digits, char decimal, std::string_view groups)
{
    char plain[kLongestAmount + 2];
    std::size_t length = 0;
    const std::size_t point = digits.find(decimal);
    if (point != std::string_view::npos
        && digits.find(decimal, point + 1) != std::string_view::npos)
        return std::nullopt;
    const std::size_t integerEnd = point != std::string_view::npos ? point : digits.size();
    int groupLength = -1; // digits since the last group mark; -1 before the first mark
    int run = 0;
    bool anyDigit = false;
    for (std::size_t i = 0; i < integerEnd; ++i) {
        const char c = digits[i];
        if (c >= '0' && c <= '9') {
            plain[length++] = c;
            ++run;
            anyDigit = true;
            continue;
        }
        if (groups.find(c) == std::string_view::npos)
            return std::nullopt;
        if (run == 0 || (groupLength < 0 ? run > 3 : run != 3))
            return std::nullopt;
        groupLength = run;
        run = 0;
    }
    if (groupLength >= 0 && run != 3)
        return std::nullopt;
    if (point != std::string_view::npos) {
        plain[length++] = '.';
        for (std::size_t i = point + 1; i < digits.size(); ++i) {
            if (digits[i] < '0' || digits[i] > '9')
                return std::nullopt;
            plain[length++] = digits[i];
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(plain, plain + length, value);
    if (result.ec != std::errc() || result.ptr != plain + length)
        return std::nullopt;
    return value;
}

} // namespace

int fullYear(int twoDigitYear)
{
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

Values::Values(const QLocale &locale)
    : m_locale(locale)
    , m_symbol(locale.currencySymbol(QLocale::CurrencySymbol))
    , m_isoCode(locale.currencySymbol(QLocale::CurrencyIsoCode))
{
    // The marks as they appear in the digits read below: a locale whose marks are neither a
    // period nor a comma (a space, an apostrophe) groups with them and decimals with the other.
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    m_decimal = decimal == QLatin1String(",") ? ',' : '.';
    m_groups = " ";
    if ((group == QLatin1String(".") || group == QLatin1String(",")) && group[0] != m_decimal)
        m_groups += char(group[0].unicode());

    auto add = [this](const QString &format) {
        for (const DateForm &form : m_dateForms) {
            if (form.format == format)
                return;
        }
        m_dateForms.push_back({ format, numericFormat(format) });
    };
    // The export's own form first, then the same with the other length of year, then the long
    // form (the export's closing line, and what some people type).
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    add(shortFormat);
    if (shortFormat.contains(QLatin1String("yyyy"))) {
        QString twoDigits = shortFormat;
        add(twoDigits.replace(QLatin1String("yyyy"), QLatin1String("yy")));
    } else if (shortFormat.contains(QLatin1String("yy"))) {
        QString fourDigits = shortFormat;
        add(fourDigits.replace(QLatin1String("yy"), QLatin1String("yyyy")));
    }
    add(locale.dateFormat(QLocale::LongFormat));
}

std::optional<double> Values::amount(QStringView text) const
{
    QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > kLongestAmount)
        return std::nullopt;
    bool negative = false;
    if (t.startsWith(u'(') && t.endsWith(u')')) {
        negative = true;
        t = t.mid(1, t.size() - 2).trimmed();
    }
    // Take off the currency: the locale's symbol or code, any currency sign, a three-letter
    // code ("EUR", "USD") at either end.
    auto strip = [&t](QStringView piece) {
        if (piece.isEmpty())
            return false;
        if (t.startsWith(piece, Qt::CaseInsensitive)) {
            t = t.mid(piece.size()).trimmed();
            return true;
        }
        if (t.endsWith(piece, Qt::CaseInsensitive)) {
            t = t.left(t.size() - piece.size()).trimmed();
            return true;
        }
        return false;
    };
    auto sign = [&t, &negative] {
        for (QChar minus : { QChar(u'-'), QChar(0x2212) }) {
            if (t.startsWith(minus)) {
                t = t.mid(1).trimmed();
                return negative = true;
            }
            if (t.endsWith(minus)) {
                t = t.left(t.size() - 1).trimmed();
                return negative = true;
            }
        }
        if (t.startsWith(u'+')) {
            t = t.mid(1).trimmed();
            return true;
        }
        return false;
    };
    const bool signFirst = sign();
    bool currency = strip(m_symbol) || strip(m_isoCode);
    if (!currency && !t.isEmpty()) {
        for (QStringView end : { t.left(1), t.right(1) }) {
            if (end[0].category() == QChar::Symbol_Currency && strip(end)) {
                currency = true;
                break;
            }
        }
    }
    if (!currency && t.size() > 3) {
        auto code = [](QStringView piece) {
            return std::all_of(piece.begin(), piece.end(),
                               [](QChar c) { return c.unicode() >= u'A' && c.unicode() <= u'Z'; });
        };
        if (code(t.left(3)))
            strip(t.left(3));
        else if (code(t.right(3)))
            strip(t.right(3));
    }
    if (!signFirst && !negative)
        sign();

    // What is left is digits and marks: periods, commas, and spaces or apostrophes that group.
    char buffer[kLongestAmount];
    std::size_t length = 0;
    bool period = false;
    bool comma = false;
    for (QChar c : t) {
        char plain;
        if (asciiDigit(c) || c == u'.' || c == u',') {
            plain = char(c.unicode());
            period = period || c == u'.';
            comma = comma || c == u',';
        } else if (c.isSpace() || c == u'\'' || c == QChar(0x2019)) {
            plain = ' ';
        } else {
            return std::nullopt;
        }
        buffer[length++] = plain;
    }
    const std::string_view digits(buffer, length);
    std::optional<double> value =
        readNumber(digits, m_decimal, std::string_view(m_groups.constData(), m_groups.size()));
    // Both marks: the last one is the decimal mark, whatever the locale ("1.250,00" read under
    // English settings). One period: the decimal mark other programs write ("149.99" under
    // German settings, where "1.250" still reads as the locale has it, one thousand two hundred
    // and fifty).
    if (!value && period && comma) {
        const bool commaLast = digits.rfind(',') > digits.rfind('.');
        value = commaLast ? readNumber(digits, ',', ". ") : readNumber(digits, '.', ", ");
    }
    if (!value && !(period && comma))
        value = readNumber(digits, '.', ", ");
    if (!value || !std::isfinite(*value) || *value > kLargestAmount)
        return std::nullopt;
    return negative && *value != 0 ? -*value : *value;
}

std::optional<QDate> Values::date(const QString &text)
{
    // The numeric forms are read at once; only the others (month names) are remembered.
    if (const QDate day = readNumeric(QStringView(text).trimmed()); day.isValid())
        return day;
    auto it = m_dates.constFind(text);
    if (it == m_dates.constEnd()) {
        if (m_dates.size() > kDateCacheLimit)
            m_dates.clear();
        it = m_dates.insert(text, readDate(text));
    }
    if (!it->isValid())
        return std::nullopt;
    return *it;
}

QDate Values::readDate(const QString &text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDate day = isoDate(t);
    if (!day.isValid())
        day = readWithForms(t);
    // A date followed by a time of day ("5/14/2019 0:00", as spreadsheets write date cells).
    if (!day.isValid()) {
        const qsizetype blank = t.indexOf(u' ');
        if (blank > 0 && t.size() - blank <= 12) {
            const QString rest = t.mid(blank + 1);
            if (!rest.isEmpty() && asciiDigit(rest[0]) && rest.contains(u':'))
                day = readWithForms(t.left(blank));
        }
    }
    // The data file keeps days from 100 to 9999.
    if (!day.isValid() || day.year() < 100 || day.year() > 9999)
        return {};
    return day;
}

QDate Values::readNumeric(QStringView text) const
{
    QDate day = isoDate(text);
    for (std::size_t i = 0; !day.isValid() && i < m_dateForms.size(); ++i) {
        if (m_dateForms[i].numeric)
            day = numericDate(text, m_dateForms[i].format);
    }
    if (!day.isValid() || day.year() < 100 || day.year() > 9999)
        return {};
    return day;
}

QDate Values::readWithForms(const QString &text) const
{
    for (const DateForm &form : m_dateForms) {
        QDate day;
        if (form.numeric) {
            day = numericDate(text, form.format);
        } else {
            day = m_locale.toDate(text, form.format);
            if (day.isValid() && !form.format.contains(QLatin1String("yyyy")) && day.year() < 1930)
                day = day.addYears(100);
        }
        if (day.isValid())
            return day;
    }
    return {};
}

} // namespace Import
