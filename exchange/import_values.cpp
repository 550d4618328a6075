#include "exchange/import_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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

// One way of reading the digits and marks of an amount: which mark is the decimal one, and
// which ones group thousands. Groups must be of three digits (the first of one to three), so
// "1,25" is no amount in a locale that groups with commas.
std::optional<double> readNumber(const QString &digits, QChar decimal, const QString &groups)
{
    QByteArray plain;
    plain.reserve(digits.size());
    const qsizetype point = digits.indexOf(decimal);
    if (point >= 0 && digits.indexOf(decimal, point + 1) >= 0)
        return std::nullopt;
    const qsizetype integerEnd = point >= 0 ? point : digits.size();
    int groupLength = -1; // digits since the last group mark; -1 before the first mark
    int run = 0;
    for (qsizetype i = 0; i < integerEnd; ++i) {
        const QChar c = digits[i];
        if (asciiDigit(c)) {
            plain.append(char(c.unicode()));
            ++run;
            continue;
        }
        if (!groups.contains(c))
            return std::nullopt;
        if (run == 0 || (groupLength < 0 ? run > 3 : run != 3))
            return std::nullopt;
        groupLength = run;
        run = 0;
    }
    if (groupLength >= 0 && run != 3)
        return std::nullopt;
    if (point >= 0) {
        plain.append('.');
        for (qsizetype i = point + 1; i < digits.size(); ++i) {
            if (!asciiDigit(digits[i]))
                return std::nullopt;
            plain.append(char(digits[i].unicode()));
        }
    }
    if (!std::any_of(plain.cbegin(), plain.cend(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    double value = 0;
    const char *end = plain.constData() + plain.size();
    const auto result = std::from_chars(plain.constData(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
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
    m_decimal = decimal == QLatin1String(",") ? QChar(u',') : QChar(u'.');
    m_group = group == QLatin1String(".") || group == QLatin1String(",") ? group[0] : QChar(u' ');
    if (m_group == m_decimal)
        m_group = QChar(u' ');

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
    QString digits;
    digits.reserve(t.size());
    bool period = false;
    bool comma = false;
    for (QChar c : t) {
        if (asciiDigit(c) || c == u'.' || c == u',') {
            period = period || c == u'.';
            comma = comma || c == u',';
            digits.append(c);
        } else if (c.isSpace() || c == u'\'' || c == QChar(0x2019)) {
            digits.append(QChar(u' '));
        } else {
            return std::nullopt;
        }
    }
    std::optional<double> value =
        readNumber(digits, m_decimal, QString(m_group) + QLatin1Char(' '));
    // Both marks: the last one is the decimal mark, whatever the locale ("1.250,00" read under
    // English settings). One period: the decimal mark other programs write ("149.99" under
    // German settings, where "1.250" still reads as the locale has it, one thousand two hundred
    // and fifty).
    if (!value && period && comma) {
        const bool commaLast = digits.lastIndexOf(u',') > digits.lastIndexOf(u'.');
        value = commaLast ? readNumber(digits, u',', QStringLiteral(". "))
                          : readNumber(digits, u'.', QStringLiteral(", "));
    }
    if (!value && !(period && comma))
        value = readNumber(digits, u'.', QStringLiteral(", "));
    if (!value || !std::isfinite(*value) || *value > kLargestAmount)
        return std::nullopt;
    return negative && *value != 0 ? -*value : *value;
}

std::optional<QDate> Values::date(const QString &text)
{
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
