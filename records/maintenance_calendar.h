#pragma once
// Maintenance plans as an iCalendar file (RFC 5545), for calendar programs: one all-day event
// per plan that repeats as the plan does, starting on its next date, so that the calendar shows
// every date to come. Each event keeps its UID from one export to the next (the plan's own,
// made when it was first saved), so importing the file again updates the events instead of
// adding copies.
//
// Months that lack the day a plan keeps are handled as the plan handles them: a plan on the
// 29th, 30th or 31st falls on the month's last day instead (BYMONTHDAY=28,...,day with
// BYSETPOS=-1: the latest of those days the month has), where a plain monthly rule would skip
// the month. A plan that counts from the day it is done is shown as if each time were done on
// its date.

#include "records/maintenance_plan.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

class CADODataBase;
class QIODevice;

namespace Maintenance::Calendar {

// The recurrence rule of a plan: "FREQ=MONTHLY;INTERVAL=3", with the month-end parts when its
// day is past the 28th.
QString recurrenceRule(const Plan &plan);

// TEXT value escaping: backslash, semicolon and comma escaped, line breaks as \n.
QString escapeText(const QString &text);
// One content line folded to lines of at most 75 octets (never inside a UTF-8 character), each
// ending in CR LF.
QByteArray foldLine(const QByteArray &line);

// The plans of a home (or of one asset) to export, each with its UID (made and kept now for a
// plan stored without one, by another tool). Plans without a usable next date are left out.
std::vector<Row> plansToExport(CADODataBase &db, qint32 homeId, qint32 assetId = 0);

// Writes the calendar of rows (named after homeName) to out; stamp is the DTSTAMP of every
// event. False when the device refuses the writing.
bool write(QIODevice &out, const std::vector<Row> &rows, const QString &homeName,
           const QDateTime &stamp);

// "Maple Street House maintenance.ics": the name proposed for the file.
QString proposedFileName(const QString &homeName);

} // namespace Maintenance::Calendar
