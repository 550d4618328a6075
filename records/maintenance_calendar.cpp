#include "records/maintenance_calendar.h"

#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"
#include "records/maintenance_store.h"

#include <QIODevice>
#include <QUuid>

namespace Maintenance::Calendar {

namespace {

constexpr int kMaxOctets = 75;

QByteArray dateValue(const QDate &date)
{
    return date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
}

QString description(const Row &row)
{
    QStringList lines;
    if (!row.forWhat.isEmpty())
        lines << QStringLiteral("For: ") + row.forWhat;
    lines << everyText(row.plan.every, Unit(row.plan.unit))
            + (row.plan.fromCompletion ? QStringLiteral(", counted from the day it is done")
                                       : QStringLiteral(", on the calendar"));
    if (!row.plan.notes.isEmpty())
        lines << QString() << row.plan.notes;
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString recurrenceRule(const Plan &plan)
{
    static const char *const frequencies[] = { "DAILY", "WEEKLY", "MONTHLY", "YEARLY" };
    const Cadence cadence = plan.cadence();
    QString rule = QStringLiteral("FREQ=%1;INTERVAL=%2")
                       .arg(QLatin1String(frequencies[cadence.unit - Days]))
                       .arg(cadence.every);
    if (cadence.unit != Months && cadence.unit != Years)
        return rule;
    // The days from the 28th to the plan's own that the month has; the last of them is the date.
    // A year keeps its month, where only February can lack the day.
    const int longest =
        cadence.unit == Years ? QDate(2000, plan.nextDue.month(), 1).daysInMonth() : 31;
    const int day = std::min(cadence.anchorDay, longest);
    if (day <= 28 || (cadence.unit == Years && plan.nextDue.month() != 2))
        return rule;
    QStringList days;
    for (int d = 28; d <= day; ++d)
        days << QString::number(d);
    if (cadence.unit == Years)
        rule += QStringLiteral(";BYMONTH=%1").arg(plan.nextDue.month());
    return rule + QStringLiteral(";BYMONTHDAY=") + days.join(QLatin1Char(','))
        + QStringLiteral(";BYSETPOS=-1");
}

QString escapeText(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(',')) {
            escaped += QLatin1Char('\\');
            escaped += c;
        } else if (c == QLatin1Char('\r')) {
            escaped += QStringLiteral("\\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            escaped += QStringLiteral("\\n");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            // Other control characters are not allowed in a TEXT value at all.
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QByteArray foldLine(const QByteArray &line)
{
    QByteArray folded;
    int start = 0;
    int room = kMaxOctets;
    while (line.size() - start > room) {
        int end = start + room;
        // Back to the first byte of a character: continuation bytes are 10xxxxxx.
        while (end > start && (quint8(line[end]) & 0xC0) == 0x80)
            --end;
        folded += line.mid(start, end - start) + "\r\n ";
        start = end;
        room = kMaxOctets - 1; // the leading space counts
    }
    folded += line.mid(start) + "\r\n";
    return folded;
}

std::vector<Row> plansToExport(CADODataBase &db, qint32 homeId, qint32 assetId)
{
    std::vector<Row> all = rows(db, homeId, assetId);
    std::vector<Row> usable;
    for (Row &row : all) {
        if (!inRange(row.plan.nextDue))
            continue;
        if (row.plan.uid.isEmpty()) {
            row.plan.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
            CADORecordset rs(db);
            if (rs.Open(sqlText("SELECT ScheduleId, Uid FROM Schedules WHERE ScheduleId=%ld;",
                                long(row.plan.id)))
                && !rs.IsEof()) {
                rs.Edit();
                rs.SetString(QStringLiteral("Uid"), row.plan.uid);
                rs.Update();
            }
        }
        usable.push_back(std::move(row));
    }
    return usable;
}

bool write(QIODevice &out, const std::vector<Row> &rows, const QString &homeName,
           const QDateTime &stamp)
{
    QByteArray text;
    const auto line = [&text](const QString &content) { text += foldLine(content.toUtf8()); };
    line(QStringLiteral("BEGIN:VCALENDAR"));
    line(QStringLiteral("VERSION:2.0"));
    line(QStringLiteral("PRODID:-//Varn Holt//Domelio//EN"));
    line(QStringLiteral("CALSCALE:GREGORIAN"));
    line(QStringLiteral("X-WR-CALNAME:") + escapeText(homeName + QStringLiteral(" maintenance")));
    const QString dtstamp = stamp.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    for (const Row &row : rows) {
        const Plan &plan = row.plan;
        line(QStringLiteral("BEGIN:VEVENT"));
        line(QStringLiteral("UID:") + plan.uid + QStringLiteral("@domelio"));
        line(QStringLiteral("DTSTAMP:") + dtstamp);
        line(QStringLiteral("DTSTART;VALUE=DATE:") + QString::fromLatin1(dateValue(plan.nextDue)));
        line(QStringLiteral("DTEND;VALUE=DATE:")
             + QString::fromLatin1(dateValue(plan.nextDue.addDays(1))));
        line(QStringLiteral("RRULE:") + recurrenceRule(plan));
        line(QStringLiteral("SUMMARY:") + escapeText(plan.taskText(row.forWhat)));
        line(QStringLiteral("DESCRIPTION:") + escapeText(description(row)));
        if (!homeName.isEmpty())
            line(QStringLiteral("LOCATION:") + escapeText(homeName));
        line(QStringLiteral("CATEGORIES:Maintenance"));
        line(QStringLiteral("TRANSP:TRANSPARENT"));
        line(QStringLiteral("END:VEVENT"));
    }
    line(QStringLiteral("END:VCALENDAR"));
    return out.write(text) == text.size();
}

QString proposedFileName(const QString &homeName)
{
    QString name = homeName.isEmpty() ? QStringLiteral("Home") : homeName;
    // Characters no file system takes in a name.
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar &c : name) {
        if (unsafe.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    return name + QStringLiteral(" maintenance.ics");
}

} // namespace Maintenance::Calendar
