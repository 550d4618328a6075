#include "analyzer/loan_calc.h"

#include "platform/busy.h"

#include <charconv>
#include <cmath>
#include <limits>

float CalcTotalInterest(float principal, float annualPercent, std::int32_t termMonths)
{
    Busy::Scope busy;
    return TotalInterestOf(principal, annualPercent, termMonths);
}

namespace {

// The calendar day of a date value, without the time-zone work a QDateTime does: schedules
// ask for thousands of them. Rounds the time of day to the second as COleDateTime does.
QDate dayOf(const COleDateTime &date)
{
    const double days = date.days();
    if (!date.isValid() || !std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    const double whole = std::trunc(days);
    qint64 dayCount = static_cast<qint64>(whole);
    if (std::llround(std::fabs(days - whole) * 86400.0) >= 86400)
        dayCount += days < 0 ? -1 : 1;
    return QDate(1899, 12, 30).addDays(dayCount);
}

} // namespace

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
    const QDate first = dayOf(start);
    if (!first.isValid() || paymentNumber < 1)
        return COleDateTime::invalidDate();
    const std::int64_t monthIndex = (first.month() - 1) + (paymentNumber - 1);
    const std::int64_t year = first.year() + monthIndex / 12;
    if (year > 9999)
        return COleDateTime::invalidDate();
    return SetDateClamped(static_cast<int>(year), static_cast<int>(monthIndex % 12) + 1,
                          first.day());
}

// The texts below are written with to_chars, never with the printf family: QApplication sets
// the C library's LC_NUMERIC from the user's environment, and printf would then write
// "12,5 years" in Germany where the handheld (and our --report) always wrote "12.5 years".
QString FormatTerm(std::int64_t months)
{
    char text[64];
    char *end = text;
    const char *unit = " Years";
    if (months < 12) {
        end = std::to_chars(text, text + sizeof text, months).ptr;
        unit = " Months";
    } else if (months % 12 == 0) {
        end = std::to_chars(text, text + sizeof text, months / 12).ptr;
    } else {
        const double years = static_cast<double>(static_cast<float>(months)) * 0.083333333333333333;
        // As "%3.1f" rounds it: one decimal, correctly rounded (always 3 characters or more
        // here, since these terms are longer than a year).
        end = std::to_chars(text, text + sizeof text, years, std::chars_format::fixed, 1).ptr;
    }
    return (QString::fromLatin1(text, end - text) + QLatin1String(unit)).toLower();
}

QString FormatMoney(float amount, const QLocale &locale)
{
    if (!std::isfinite(amount))
        return QStringLiteral("N/A");
    // Rounded to cents as text first ("%4.2f"), the way the amount was always handed to the
    // currency formatting; the locale then adds its symbol, grouping and negative form.
    char text[64];
    const char *end = std::to_chars(text, text + sizeof text, static_cast<double>(amount),
                                    std::chars_format::fixed, 2)
                          .ptr;
    double cents = 0;
    std::from_chars(text, end, cents);
    return locale.toCurrencyString(cents);
}

QString FormatNumber(float value, bool withDecimals, bool raw, const QLocale &locale)
{
    if (!std::isfinite(value))
        return QStringLiteral("N/A");
    // to_chars with a precision rounds exactly as printf("%.2f") does, ties included, and
    // costs a fraction of it: a schedule formats thousands of these in a row.
    char text[64];
    char *end = text;
    double number = 0;
    if (withDecimals && value > 0) {
        end = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                            std::chars_format::fixed, 2)
                  .ptr;
        std::from_chars(text, end, number);
    } else {
        // Written as a whole number, the fraction dropped; no "-0".
        number = std::trunc(static_cast<double>(value));
        if (number == 0)
            number = 0.0;
        end = std::to_chars(text, text + sizeof text, number, std::chars_format::fixed, 0).ptr;
    }
    if (raw)
        return QString::fromLatin1(text, end - text);

    // The locale's own settings, whatever the user changed in theirs. Building a QLocale costs
    // more than formatting the number, and schedules format thousands in a row.
    thread_local QLocale lastAsked = QLocale::c();
    thread_local QLocale plain = QLocale::c();
    if (!(lastAsked == locale)) {
        lastAsked = locale;
        plain = QLocale(locale.language(), locale.script(), locale.territory());
    }
    if (withDecimals)
        return plain.toString(number, 'f', 2);
    return plain.toString(number, 'f', 0);
}

QString FormatLoanDate(const COleDateTime &date, bool longForm, const QLocale &locale)
{
    const QDate day = dayOf(date);
    if (!day.isValid())
        return {};
    if (longForm)
        return locale.toString(day, QStringLiteral("MMM d, yyyy"));
    // The locale's format looked up once per locale, not once per row.
    thread_local QLocale lastAsked = QLocale::c();
    thread_local QString shortFormat = QLocale::c().dateFormat(QLocale::ShortFormat);
    if (!(lastAsked == locale)) {
        lastAsked = locale;
        shortFormat = locale.dateFormat(QLocale::ShortFormat);
    }
    return locale.toString(day, shortFormat);
}
