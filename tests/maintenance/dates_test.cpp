// The calendar arithmetic of plans: month ends, leap years, a plan years late, the range's end.
#include "records/maintenance_dates.h"

#include <gtest/gtest.h>

using namespace Maintenance;

namespace {

QDate d(int y, int m, int day)
{
    return QDate(y, m, day);
}

Cadence every(qint32 n, Unit unit, int anchorDay)
{
    Cadence cadence;
    cadence.every = n;
    cadence.unit = unit;
    cadence.anchorDay = anchorDay;
    return cadence;
}

TEST(MaintenanceDates, MonthsKeepTheirDayWhereTheMonthHasIt)
{
    // Every month from 31 January: the last day of each shorter month, then the 31st again.
    EXPECT_EQ(occurrences(d(2023, 1, 31), every(1, Months, 31), 6),
              (std::vector<QDate> { d(2023, 1, 31), d(2023, 2, 28), d(2023, 3, 31), d(2023, 4, 30),
                                    d(2023, 5, 31), d(2023, 6, 30) }));
    EXPECT_EQ(occurrences(d(2024, 1, 31), every(1, Months, 31), 3),
              (std::vector<QDate> { d(2024, 1, 31), d(2024, 2, 29), d(2024, 3, 31) }));
    // From 28 February with the 30th kept (a plan that began on 30 November).
    EXPECT_EQ(occurrences(d(2023, 2, 28), every(1, Months, 30), 3),
              (std::vector<QDate> { d(2023, 2, 28), d(2023, 3, 30), d(2023, 4, 30) }));
    // Every three months from 30 November, across the year's end.
    EXPECT_EQ(
        occurrences(d(2023, 11, 30), every(3, Months, 30), 4),
        (std::vector<QDate> { d(2023, 11, 30), d(2024, 2, 29), d(2024, 5, 30), d(2024, 8, 30) }));
    // Years are twelve months: 29 February falls on the 28th in other years.
    EXPECT_EQ(occurrences(d(2024, 2, 29), every(1, Years, 29), 5),
              (std::vector<QDate> { d(2024, 2, 29), d(2025, 2, 28), d(2026, 2, 28), d(2027, 2, 28),
                                    d(2028, 2, 29) }));
    // 1900 was no leap year, 2000 was.
    EXPECT_EQ(advance(d(1896, 2, 29), 1, every(4, Years, 29)), d(1900, 2, 28));
    EXPECT_EQ(advance(d(1996, 2, 29), 1, every(4, Years, 29)), d(2000, 2, 29));
    // Days and weeks count days.
    EXPECT_EQ(advance(d(2024, 2, 27), 1, every(3, Days, 27)), d(2024, 3, 1));
    EXPECT_EQ(advance(d(2024, 12, 25), 2, every(1, Weeks, 25)), d(2025, 1, 8));
}

TEST(MaintenanceDates, TheCalendarMovesOnceWhateverTheDateItIsDone)
{
    const Cadence monthly = every(1, Months, 31);
    // On time, and early: one repeat on, even though the date itself is still to come.
    EXPECT_EQ(nextOnCalendar(d(2023, 1, 31), monthly, d(2023, 1, 31)), d(2023, 2, 28));
    EXPECT_EQ(nextOnCalendar(d(2023, 3, 31), monthly, d(2023, 3, 2)), d(2023, 4, 30));
    // A few days late: the next date after the day it was done.
    EXPECT_EQ(nextOnCalendar(d(2023, 1, 31), monthly, d(2023, 2, 3)), d(2023, 2, 28));
    EXPECT_EQ(nextOnCalendar(d(2023, 1, 31), monthly, d(2023, 2, 28)), d(2023, 3, 31));
    // Years late: straight to the first date after it, once, on the plan's own day.
    EXPECT_EQ(nextOnCalendar(d(2009, 5, 31), every(3, Months, 31), d(2024, 8, 15)), d(2024, 8, 31));
    EXPECT_EQ(nextOnCalendar(d(2009, 5, 31), every(3, Months, 31), d(2024, 8, 31)),
              d(2024, 11, 30));
    EXPECT_EQ(nextOnCalendar(d(2001, 1, 1), every(2, Weeks, 1), d(2024, 6, 1)), d(2024, 6, 3));
    EXPECT_EQ(nextOnCalendar(d(2001, 1, 1), every(1, Days, 1), d(2024, 6, 1)), d(2024, 6, 2));
    EXPECT_EQ(nextOnCalendar(d(1996, 2, 29), every(1, Years, 29), d(2024, 3, 1)), d(2025, 2, 28));
    EXPECT_EQ(nextOnCalendar(d(1996, 2, 29), every(1, Years, 29), d(2024, 2, 28)), d(2024, 2, 29));
    // Every date it gives lies after the day done and on the plan's calendar.
    for (int late = 0; late < 800; late += 7) {
        const QDate after = d(2020, 1, 1).addDays(late);
        const QDate next = nextOnCalendar(d(2019, 10, 30), every(2, Months, 30), after);
        EXPECT_GT(next, after);
        EXPECT_LE(next.addMonths(-2), after) << late;
        EXPECT_EQ(next.day(), std::min(30, next.daysInMonth()));
    }
}

TEST(MaintenanceDates, NothingBeyondTheLastDateTheControlsShow)
{
    EXPECT_EQ(advance(d(9999, 11, 30), 1, every(1, Months, 31)), d(9999, 12, 31));
    EXPECT_FALSE(advance(d(9999, 12, 31), 1, every(1, Days, 31)).isValid());
    EXPECT_EQ(advance(d(9000, 1, 1), 1, every(999, Years, 1)), d(9999, 1, 1));
    EXPECT_FALSE(advance(d(9001, 1, 1), 1, every(999, Years, 1)).isValid());
    EXPECT_FALSE(nextOnCalendar(d(9999, 6, 1), every(1, Years, 1), d(9999, 6, 1)).isValid());
    EXPECT_FALSE(advance(d(1752, 12, 31), 1, every(1, Days, 31)).isValid());
    EXPECT_FALSE(advance(d(2024, 1, 1), 1, every(0, Days, 1)).isValid());
    EXPECT_EQ(everyText(1, Months), QStringLiteral("Every month"));
    EXPECT_EQ(everyText(3, Weeks), QStringLiteral("Every 3 weeks"));
}

} // namespace
