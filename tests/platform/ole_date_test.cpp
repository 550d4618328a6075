#include "platform/ole_date.h"

#include <gtest/gtest.h>

TEST(OleDate, DayCountsAndFractionsRoundTrip)
{
    EXPECT_DOUBLE_EQ(COleDateTime(1899, 12, 30).days(), 0.0);
    EXPECT_DOUBLE_EQ(COleDateTime(2000, 1, 1).days(), 36526.0);
    const COleDateTime noon(2003, 1, 31, 14, 5, 0);
    EXPECT_EQ(noon.toIsoText(), QStringLiteral("2003-01-31 14:05:00"));
    // Before the epoch the time still counts forward from midnight.
    const COleDateTime early(1899, 12, 29, 6, 0, 0);
    EXPECT_DOUBLE_EQ(early.days(), -1.25);
    EXPECT_EQ(early.toIsoText(), QStringLiteral("1899-12-29 06:00:00"));
}

TEST(OleDate, ImpossibleDatesAreInvalid)
{
    COleDateTime d(2003, 2, 30);
    EXPECT_FALSE(d.isValid());
    EXPECT_TRUE(d.toIsoText().isEmpty());
    EXPECT_FALSE(COleDateTime(1e300).toDateTime().isValid());
}

namespace {
// Made while the program's statics are still being set up, as a file-scope constant elsewhere
// would be: the epoch must already hold its value then.
const COleDateTime madeAtStart(2000, 1, 1);
} // namespace

TEST(OleDate, DatesMadeDuringStaticInitialisationAreRight)
{
    EXPECT_DOUBLE_EQ(madeAtStart.days(), 36526.0);
}
