#include "records/maintenance_dates.h"

#include "format/display_text.h"

#include <algorithm>

namespace Maintenance {

namespace {

// Whole months since year 0, so that month arithmetic is integer arithmetic.
qint64 monthIndex(const QDate &date)
{
    return qint64(date.year()) * 12 + (date.month() - 1);
}

QDate fromMonthIndex(qint64 index, int anchorDay)
{
    const int year = int(index / 12);
    const int month = int(index % 12) + 1;
    const QDate first(year, month, 1);
    return QDate(year, month, std::min(anchorDay, first.daysInMonth()));
}

qint64 stepMonths(const Cadence &cadence)
{
    return cadence.unit == Years ? qint64(cadence.every) * 12 : qint64(cadence.every);
}

qint64 stepDays(const Cadence &cadence)
{
    return cadence.unit == Weeks ? qint64(cadence.every) * 7 : qint64(cadence.every);
}

bool byMonths(const Cadence &cadence)
{
    return cadence.unit == Months || cadence.unit == Years;
}

} // namespace

QDate firstDate()
{
    return QDate(1753, 1, 1);
}

QDate lastDate()
{
    return QDate(9999, 12, 31);
}

bool inRange(const QDate &date)
{
    return date.isValid() && date >= firstDate() && date <= lastDate();
}

bool isUnit(qint32 unit)
{
    return unit >= Days && unit <= Years;
}

QDate advance(const QDate &from, qint64 periods, const Cadence &cadence)
{
    if (!inRange(from) || periods < 0 || cadence.every < 1 || !isUnit(cadence.unit))
        return QDate();
    if (!byMonths(cadence)) {
        // Past the last date in any case: no need to let the day number overflow first.
        const qint64 days = periods * stepDays(cadence);
        if (days > lastDate().toJulianDay() - from.toJulianDay())
            return QDate();
        return from.addDays(days);
    }
    const qint64 index = monthIndex(from) + periods * stepMonths(cadence);
    if (index > monthIndex(lastDate()))
        return QDate();
    return fromMonthIndex(index, std::clamp(cadence.anchorDay, 1, 31));
}

QDate nextOnCalendar(const QDate &due, const Cadence &cadence, const QDate &after)
{
    if (!inRange(due) || !after.isValid() || cadence.every < 1 || !isUnit(cadence.unit))
        return QDate();
    qint64 periods = 1;
    if (after >= due) {
        // Straight to the repeat that passes `after`, however many lie between: a plan years
        // late moves once. The month count can land one short (the anchor day falls after
        // `after`'s day in its month) or one long; the loop below settles it.
        if (byMonths(cadence))
            periods =
                std::max<qint64>(1, (monthIndex(after) - monthIndex(due)) / stepMonths(cadence));
        else
            periods = (after.toJulianDay() - due.toJulianDay()) / stepDays(cadence) + 1;
    }
    for (;;) {
        const QDate next = advance(due, periods, cadence);
        if (!next.isValid() || next > after)
            return next;
        ++periods;
    }
}

std::vector<QDate> occurrences(const QDate &due, const Cadence &cadence, int count)
{
    std::vector<QDate> dates;
    for (int k = 0; k < count; ++k) {
        const QDate date = k == 0 ? due : advance(due, k, cadence);
        if (!date.isValid())
            break;
        dates.push_back(date);
    }
    return dates;
}

QString dayText(const QDate &date)
{
    return userLocale().toString(date, QStringLiteral("MMM d, yyyy"));
}

QString everyText(qint32 every, Unit unit)
{
    static const char *const singular[] = { "day", "week", "month", "year" };
    static const char *const plural[] = { "days", "weeks", "months", "years" };
    const int index = isUnit(unit) ? unit - Days : Months - Days;
    if (every == 1)
        return QStringLiteral("Every ") + QLatin1String(singular[index]);
    return QStringLiteral("Every %1 ").arg(every) + QLatin1String(plural[index]);
}

} // namespace Maintenance
