#include "platform/ole_date.h"

#include <cmath>

namespace {

// Constant-initialised, so dates made by other files' static initialisers see it too.
constexpr QDate kEpoch = QDate::fromJulianDay(2415019); // 30 December 1899
constexpr qint64 kSecondsPerDay = 86400;

// Splits a day count into whole days and seconds of that day, rounding to the nearest second
// so that values written as fractions read back as the clock time they meant.
void split(double value, qint64 &dayPart, qint64 &seconds)
{
    double whole = std::trunc(value);
    double fraction = std::fabs(value - whole);
    seconds = std::llround(fraction * kSecondsPerDay);
    dayPart = static_cast<qint64>(whole);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        dayPart += value < 0 ? -1 : 1;
    }
}

} // namespace

COleDateTime::COleDateTime(int year, int month, int day, int hour, int minute, int second)
{
    setDateTime(year, month, day, hour, minute, second);
}

COleDateTime COleDateTime::invalidDate()
{
    COleDateTime d;
    d.m_status = invalid;
    return d;
}

COleDateTime COleDateTime::fromDate(const QDate &date)
{
    if (!date.isValid())
        return invalidDate();
    return COleDateTime(static_cast<double>(kEpoch.daysTo(date)));
}

COleDateTime COleDateTime::fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return invalidDate();
    const QTime t = dateTime.time();
    COleDateTime d;
    d.setDateTime(dateTime.date().year(), dateTime.date().month(), dateTime.date().day(), t.hour(),
                  t.minute(), t.second());
    return d;
}

bool COleDateTime::setDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const QDate date(year, month, day);
    if (!date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0
        || second > 59) {
        m_status = invalid;
        m_dt = 0.0;
        return false;
    }
    const double dayPart = static_cast<double>(kEpoch.daysTo(date));
    const double fraction = (hour * 3600 + minute * 60 + second) / double(kSecondsPerDay);
    // Before the epoch the fraction counts forward from midnight, so it is subtracted.
    m_dt = dayPart < 0 ? dayPart - fraction : dayPart + fraction;
    m_status = valid;
    return true;
}

QDate COleDateTime::date() const
{
    return toDateTime().date();
}

QDateTime COleDateTime::toDateTime() const
{
    if (m_status != valid || !std::isfinite(m_dt) || std::fabs(m_dt) > 3.0e6)
        return {};
    qint64 dayPart = 0;
    qint64 seconds = 0;
    split(m_dt, dayPart, seconds);
    return QDateTime(kEpoch.addDays(dayPart), QTime(0, 0).addSecs(static_cast<int>(seconds)));
}

QString COleDateTime::toIsoText() const
{
    const QDateTime dt = toDateTime();
    if (!dt.isValid())
        return {};
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
