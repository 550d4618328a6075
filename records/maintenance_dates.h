#pragma once
// The calendar arithmetic of maintenance plans. A plan repeats every N days, weeks, months or
// years. Months follow the calendar: a date is moved by whole months and keeps its anchor day
// (the day of the month the plan started on) where the month has it, else takes the month's
// last day: every month from 31 January gives 28 or 29 February, then 31 March, 30 April.
// Years are twelve months, so 29 February gives 28 February in the years without it.
//
// Dates run from 1 January 1753 to 31 December 9999, the range the program's date controls
// show; arithmetic that would leave it gives an invalid QDate.

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace Maintenance {

enum Unit : qint32 { Days = 1, Weeks = 2, Months = 3, Years = 4 };

constexpr qint32 kMaxEvery = 999;

QDate firstDate(); // 1 January 1753
QDate lastDate(); // 31 December 9999
bool inRange(const QDate &date);

bool isUnit(qint32 unit);

// How a plan repeats: every `every` units, months and years keeping anchorDay (1-31).
struct Cadence
{
    qint32 every = 1;
    Unit unit = Months;
    int anchorDay = 1;
};

// The date `periods` repeats after from (0 gives from itself, with the anchor day applied for
// months and years). Invalid when the result would leave the date range.
QDate advance(const QDate &from, qint64 periods, const Cadence &cadence);

// The first date of the plan's calendar after `after`, at least one repeat after due: what a
// fixed plan moves to when it is done or skipped. However many repeats late the plan is, it
// moves once, to a date after `after`; done early, it still moves one repeat on.
QDate nextOnCalendar(const QDate &due, const Cadence &cadence, const QDate &after);

// The first `count` dates of the calendar that starts at due (due itself first).
std::vector<QDate> occurrences(const QDate &due, const Cadence &cadence, int count);

// "Jan 1, 1753": a date in the words of the date controls, for messages.
QString dayText(const QDate &date);

// "Every day", "Every 3 days", "Every week", "Every 2 weeks", "Every month", "Every 6 months",
// "Every year", "Every 2 years".
QString everyText(qint32 every, Unit unit);

} // namespace Maintenance
