#include "analyzer/loan_calc.h"

#include "platform/busy.h"

#include <cmath>
#include <cstdio>
#include <limits>

float CalcTotalInterest(float principal, float annualPercent, std::int32_t termMonths)
{
    Busy::Scope busy;
    return TotalInterestOf(principal, annualPercent, termMonths);
}

COleDateTime SetDateClamped(int year, int month, int day)
{
    COleDateTime date;
    for (int back = 0; back <= 4; ++back) {
        if (date.setDate(year, month, day - back))
            return date;
    }
    return COleDateTime::invalidDate();
}

COleDateTime PaymentDate(const COleDateTime &start, std::int64_t paymentNumber)
{
    const QDate first = start.date();
    if (!first.isValid() || paymentNumber < 1)
        return COleDateTime::invalidDate();
    const std::int64_t monthIndex = (first.month() - 1) + (paymentNumber - 1);
    const std::int64_t year = first.year() + monthIndex / 12;
    if (year > 9999)
        return COleDateTime::invalidDate();
    return SetDateClamped(static_cast<int>(year), static_cast<int>(monthIndex % 12) + 1,
                          first.day());
}

QString FormatTerm(std::int64_t months)
{
    char text[64];
    if (months < 12) {
        std::snprintf(text, sizeof text, "%lld Months", static_cast<long long>(months));
    } else if (months % 12 == 0) {
        std::snprintf(text, sizeof text, "%lld Years", static_cast<long long>(months / 12));
    } else {
        const double years = static_cast<double>(static_cast<float>(months)) * 0.083333333333333333;
        std::snprintf(text, sizeof text, "%3.1f Years", years);
    }
    return QString::fromLatin1(text).toLower();
}

QString FormatMoney(float amount, const QLocale &locale)
{
    if (!std::isfinite(amount))
        return QStringLiteral("N/A");
    // Rounded to cents as text first, the way the amount was always handed to the currency
    // formatting; the locale then adds its symbol, grouping and negative form.
    char text[64];
    std::snprintf(text, sizeof text, "%4.2f", static_cast<double>(amount));
    return locale.toCurrencyString(std::strtod(text, nullptr));
}

QString FormatNumber(float value, bool withDecimals, bool raw, const QLocale &locale)
{
    if (!std::isfinite(value))
        return QStringLiteral("N/A");
    char text[64];
    double number = 0;
    if (withDecimals && value > 0) {
        std::snprintf(text, sizeof text, "%4.2f", static_cast<double>(value));
        number = std::strtod(text, nullptr);
    } else {
        // Every float beyond this range is a whole number already.
        const double whole = std::trunc(static_cast<double>(value));
        if (std::fabs(whole) < 9.0e15)
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(whole));
        else
            std::snprintf(text, sizeof text, "%.0f", whole);
        number = whole == 0 ? 0.0 : whole; // no "-0"
    }
    if (raw)
        return QString::fromLatin1(text);

    // The locale's own settings, whatever the user changed in theirs.
    const QLocale plain(locale.language(), locale.script(), locale.territory());
    if (withDecimals)
        return plain.toString(number, 'f', 2);
    return plain.toString(number, 'f', 0);
}

QString FormatLoanDate(const COleDateTime &date, bool longForm, const QLocale &locale)
{
    const QDate day = date.date();
    if (!day.isValid())
        return {};
    if (longForm)
        return locale.toString(day, QStringLiteral("MMM d, yyyy"));
    return locale.toString(day, QLocale::ShortFormat);
}
