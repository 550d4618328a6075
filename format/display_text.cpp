#include "format/display_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

std::optional<QLocale> &chosenLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}

// The value with exactly two decimals, a period as decimal mark and no grouping (the classic
// "%4.2f"), rounded half away from zero. The float is a single-precision stand-in for the decimal
// the user typed, so rounding starts from its shortest round-trip decimal form: rounding the
// binary expansion would turn 2.675f (2.67499995...) into 2.67.
template<typename Real>
QString twoDecimals(Real value)
{
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QByteArray text(buffer, int(result.ptr - buffer));

    const bool negative = text.startsWith('-');
    if (negative)
        text.remove(0, 1);
    qsizetype point = text.indexOf('.');
    if (point < 0) {
        point = text.size();
        text.append('.');
    }
    const bool roundUp = text.size() > point + 3 && text[point + 3] >= '5';
    text = text.left(point + 3);
    while (text.size() < point + 3)
        text.append('0');
    if (roundUp) {
        qsizetype i = text.size() - 1;
        for (; i >= 0; --i) {
            if (text[i] == '.')
                continue;
            if (text[i] != '9') {
                ++text[i];
                break;
            }
            text[i] = '0';
        }
        if (i < 0)
            text.prepend('1');
    }
    const bool zero = text == "0.00";
    return QString::fromLatin1((negative && !zero ? "-" : "") + text);
}

qint32 saturated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (value <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(value); // truncates toward zero
}

} // namespace

const QLocale &userLocale()
{
    static const QLocale system = QLocale::system();
    const auto &chosen = chosenLocale();
    return chosen ? *chosen : system;
}

void setUserLocale(const QLocale &locale)
{
    chosenLocale() = locale;
}

void resetUserLocale()
{
    chosenLocale().reset();
}

QString dateText(const COleDateTime &date, bool longForm, const QLocale &locale)
{
    const QDate day = date.date();
    if (!date.isValid() || !day.isValid())
        return {};
    return locale.toString(day, longForm ? QLocale::LongFormat : QLocale::ShortFormat);
}

QString numberText(float value, bool withDecimals, bool plain, const QLocale &locale)
{
    if (!std::isfinite(value))
        return {};
    if (withDecimals && value > 0) {
        const QString base = twoDecimals(value);
        if (plain)
            return base;
        // The base has at most a float's significant digits and two decimals, which a double
        // carries exactly enough for the locale to print the same digits back.
        return locale.toString(base.toDouble(), 'f', 2);
    }
    const qint32 whole = saturated(value);
    if (plain)
        return QString::number(whole);
    // The locale's standard format of a whole number with decimals asked for shows them as
    // zeros; without decimals only the grouped integer part remains.
    return withDecimals ? locale.toString(double(whole), 'f', 2) : locale.toString(whole);
}

QString moneyText(float value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return {};
    return locale.toCurrencyString(twoDecimals(value).toDouble());
}

QString moneyText(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return {};
    return locale.toCurrencyString(twoDecimals(value).toDouble());
}

QStringList termUnitNames()
{
    return { QStringLiteral("Months"), QStringLiteral("Years") };
}

TermText termText(qint32 months)
{
    if (months % 12 == 0)
        return { QString::number(months / 12), TermYears };
    return { QString::number(months), TermMonths };
}

qint32 termMonths(const QString &numberText, int unitIndex)
{
    // Leading digits only, like the C library's conversion: "3 years" is 3, "x" is 0.
    qsizetype i = 0;
    while (i < numberText.size() && numberText[i].isSpace())
        ++i;
    bool negative = false;
    if (i < numberText.size() && (numberText[i] == u'-' || numberText[i] == u'+'))
        negative = numberText[i++] == u'-';
    qint64 number = 0;
    for (; i < numberText.size() && numberText[i] >= u'0' && numberText[i] <= u'9'; ++i) {
        number = number * 10 + (numberText[i].unicode() - u'0');
        if (number > qint64(1) << 40)
            break; // far past any 32-bit result; saturates below
    }
    if (negative)
        number = -number;
    if (unitIndex != TermMonths)
        number *= 12;
    return saturated(double(number));
}

QString datePickerFormat()
{
    return QStringLiteral("ddd, MMM d, yyyy");
}
