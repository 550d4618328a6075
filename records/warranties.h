#pragma once
// The warranties a home should hear about: those that ended in the last 30 days, those that end
// within 30 days and those that end within a year. Days are whole calendar days and a warranty
// runs through the day of its date: dated today it ends today (0 days left), dated yesterday it
// ended 1 day ago. Video titles, whose date is their release year, and the year-2000 date that
// stands for "no warranty date" never count.

#include "format/display_text.h"
#include "platform/ole_date.h"

#include <QDate>
#include <QString>

#include <vector>

class CADODataBase;

namespace Warranties {

// Days left (the warranty date less today) at the edges of the groups.
constexpr int kEndedWithin = 30; // ended: -30 to -1
constexpr int kEndingWithin = 30; // ending soon: 0 to 30
constexpr int kYearWithin = 365; // ending this year: 31 to 365

enum class Group { Ended, EndingSoon, EndingThisYear };

// The group of a warranty with daysLeft days left; only meaningful from -30 to 365.
Group groupOf(int daysLeft);
// "Ended in the last 30 days", "Ending within 30 days", "Ending within 12 months".
QString groupTitle(Group group);
// "12 days left", "1 day left", "ends today", "ended 1 day ago", "ended 5 days ago".
QString daysText(int daysLeft);

// What the Today view's line says.
struct Counts
{
    int ended = 0; // in the last 30 days
    int ending = 0; // within 30 days, today included
};
// One statement, read from the index of a home's assets by warranty date alone.
Counts count(CADODataBase &db, qint32 homeId, const QDate &today);
// That statement (its two columns: ended, ending).
QString countStatement(qint32 homeId, const QDate &today);
// "2 warranties end within 30 days", "1 warranty ended in the last 30 days", or both in one
// line: "1 warranty ends within 30 days, 2 ended in the last 30 days". Empty when both are 0.
QString todayLine(const Counts &counts, const QLocale &locale = userLocale());

struct Entry
{
    qint32 assetId = 0;
    QString description;
    QString location; // empty when the asset has none
    COleDateTime date;
    int daysLeft = 0;
    Group group = Group::Ended;
};
// The home's warranties in the three groups, by date (then description): the Warranties dialog.
std::vector<Entry> list(CADODataBase &db, qint32 homeId, const QDate &today);

} // namespace Warranties
