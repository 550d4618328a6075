// The calendar file read back by an independent parser (python3-icalendar, with dateutil
// expanding each event's recurrence): every date it gives is the plan's own.
#include "records/maintenance_calendar.h"
#include "support/data_file_test.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Maintenance;

namespace {

constexpr int kDates = 40;

Row row(const QString &description, const QDate &nextDue, qint32 every, Unit unit,
        int anchorDay = 0, const QString &forWhat = QString())
{
    Row r;
    r.plan.id = 1;
    r.plan.description = description;
    r.plan.nextDue = nextDue;
    r.plan.every = every;
    r.plan.unit = unit;
    r.plan.fromCompletion = anchorDay == 0;
    r.plan.anchorDay = anchorDay;
    r.plan.uid = QStringLiteral("uid-%1").arg(description.size());
    r.forWhat = forWhat;
    return r;
}

// The events of a calendar file as the parser read them.
std::vector<QJsonObject> readBack(const QString &file)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 { QStringLiteral(DOMELIO_SOURCE_DIR "/tests/maintenance/read_calendar.py"), file,
                   QString::number(kDates) });
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString()
                                    << " (python3-icalendar and python3-dateutil come with "
                                       "scripts/deps)";
    std::vector<QJsonObject> events;
    for (const QByteArray &line : python.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            events.push_back(QJsonDocument::fromJson(line).object());
    }
    return events;
}

TEST(MaintenanceCalendar, EveryDateACalendarProgramExpandsIsThePlansOwn)
{
    const QString notes = QStringLiteral("Filter size 16x25x1; MERV 8, not 11.\nKeep the spare "
                                         "in the garage \\ top shelf. Ça coûte 12 €, "
                                         "où qu'on l'achète — même en ligne, c'est pareil.");
    std::vector<Row> rows = {
        row(QStringLiteral("Test smoke alarms"), QDate(2024, 1, 31), 1, Months, 31),
        row(QStringLiteral("Change water filter"), QDate(2023, 11, 30), 3, Months, 30),
        row(QStringLiteral("Flush water heater"), QDate(2023, 1, 29), 1, Months, 29),
        row(QStringLiteral("Renew fire extinguisher"), QDate(2024, 2, 29), 1, Years, 29),
        row(QStringLiteral("Oil the hinges"), QDate(2025, 3, 15), 2, Months, 15),
        row(QStringLiteral("Water the ferns"), QDate(2024, 12, 30), 10, Days),
        row(QStringLiteral("Vacuum fridge coils"), QDate(2024, 2, 26), 2, Weeks),
        row(QStringLiteral("Replace furnace filter"), QDate(2024, 3, 31), 3, Months, 0,
            QStringLiteral("Furnace, basement; \"Lennox\"")),
    };
    rows.back().plan.notes = notes;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plans.ics"));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_TRUE(Calendar::write(out, rows, QStringLiteral("Maple, the house"),
                                    QDateTime(QDate(2024, 3, 12), QTime(9, 30), Qt::UTC)));
    }
    // Lines end in CR LF and none is longer than 75 octets.
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray text = in.readAll();
    ASSERT_TRUE(text.endsWith("END:VCALENDAR\r\n"));
    for (const QByteArray &line : text.split('\n')) {
        EXPECT_TRUE(line.isEmpty() || line.endsWith('\r')) << line.toStdString();
        EXPECT_LE(line.size(), 76) << line.toStdString();
    }

    const std::vector<QJsonObject> events = readBack(file);
    ASSERT_EQ(events.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Plan &plan = rows[i].plan;
        const QJsonObject &event = events[i];
        SCOPED_TRACE(plan.description.toStdString());
        EXPECT_TRUE(event[QStringLiteral("errors")].toArray().isEmpty());
        EXPECT_EQ(event[QStringLiteral("uid")].toString(), plan.uid + QStringLiteral("@domelio"));
        EXPECT_EQ(event[QStringLiteral("summary")].toString(), plan.taskText(rows[i].forWhat));
        EXPECT_EQ(event[QStringLiteral("end")].toString(),
                  plan.nextDue.addDays(1).toString(Qt::ISODate));
        QStringList expected;
        for (const QDate &date : occurrences(plan.nextDue, plan.cadence(), kDates))
            expected << date.toString(Qt::ISODate);
        QStringList read;
        for (const QJsonValue &date : event[QStringLiteral("dates")].toArray())
            read << date.toString();
        EXPECT_EQ(read, expected);
    }
    // The escaped texts come back as they were written: the asset, then the plan's notes.
    const QString description = events.back()[QStringLiteral("description")].toString();
    EXPECT_TRUE(description.startsWith(QStringLiteral("For: Furnace, basement; \"Lennox\"\n")))
        << description.toStdString();
    EXPECT_TRUE(description.endsWith(QStringLiteral("\n\n") + notes)) << description.toStdString();
}

TEST(MaintenanceCalendar, LinesFoldBetweenCharactersAndTextIsEscaped)
{
    EXPECT_EQ(Calendar::escapeText(QStringLiteral("a,b;c\\d\r\ne\nf")),
              QStringLiteral("a\\,b\\;c\\\\d\\ne\\nf"));
    const QByteArray line = "SUMMARY:" + QString(40, QChar(0x00e9)).toUtf8(); // 8 + 80 octets
    const QByteArray folded = Calendar::foldLine(line);
    const QList<QByteArray> parts = folded.split('\n');
    ASSERT_EQ(parts.size(), 3); // two lines and what follows the last line break
    EXPECT_EQ(parts[0].size(), 75); // 74 octets and CR: an é is not cut in two
    EXPECT_TRUE(parts[1].startsWith(' '));
    QByteArray unfolded = folded;
    unfolded.replace("\r\n ", "");
    EXPECT_EQ(unfolded, line + "\r\n");
    EXPECT_EQ(QString::fromUtf8(unfolded.chopped(2)), QString::fromUtf8(line));
}

class MaintenanceCalendarFile : public DataFileTest
{
};

TEST_F(MaintenanceCalendarFile, APlanStoredWithoutAnIdentifierGetsOneThatStays)
{
    run(QStringLiteral("INSERT INTO Homes (HomeId, Description) VALUES (1, 'Maple');"));
    run(QStringLiteral("INSERT INTO Schedules (HomeId, Description, Every, Unit, NextDue) VALUES "
                       "(1, 'Sweep chimney', 1, 4, 45500), (1, 'No date', 1, 4, NULL);"));
    const std::vector<Row> first = Calendar::plansToExport(db, 1);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_FALSE(first[0].plan.uid.isEmpty());
    const std::vector<Row> second = Calendar::plansToExport(db, 1);
    EXPECT_EQ(second[0].plan.uid, first[0].plan.uid);
    EXPECT_EQ(Calendar::recurrenceRule(first[0].plan), QStringLiteral("FREQ=YEARLY;INTERVAL=1"));
}

} // namespace
