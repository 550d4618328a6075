#pragma once
// Date-time values as the data file and the handheld keep them: days since 30 December 1899 as
// a double, the time of day as the fraction (for days before 1899-12-30 the fraction still
// counts forward from midnight: -1.25 is 29 December 1899, 06:00).

#include <QDate>
#include <QDateTime>
#include <QString>

class COleDateTime
{
public:
    enum Status { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default;
    explicit COleDateTime(double days)
        : m_dt(days)
        , m_status(valid)
    {
    }
    COleDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

    static COleDateTime fromDateTime(const QDateTime &dateTime);
    static COleDateTime fromDate(const QDate &date);
    static COleDateTime invalidDate();

    double days() const { return m_dt; }
    Status status() const { return m_status; }
    bool isValid() const { return m_status == valid; }
    void setStatus(Status status) { m_status = status; }

    // Sets the value from calendar fields; an impossible date leaves the status invalid.
    bool setDateTime(int year, int month, int day, int hour, int minute, int second);
    bool setDate(int year, int month, int day) { return setDateTime(year, month, day, 0, 0, 0); }

    QDateTime toDateTime() const; // local-free (Qt::LocalTime fields, no zone conversion)
    QDate date() const;
    int year() const { return date().year(); }
    int month() const { return date().month(); }
    int day() const { return date().day(); }

    // "%Y-%m-%d %H:%M:%S", as the database layer reads a date column as text.
    QString toIsoText() const;

    bool operator==(const COleDateTime &other) const
    {
        return m_status == other.m_status && m_dt == other.m_dt;
    }

private:
    double m_dt = 0.0;
    Status m_status = valid;
};
