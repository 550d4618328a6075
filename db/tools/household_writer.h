#pragma once
// Writes a household into a fresh data file: homes, locations, assets, loans, tasks, and
// maintenance plans with their history, in one transaction, with the id counters set above
// every id written. make-datafile --sample and bench_generate_data both fill their files
// through it.

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

class HouseholdWriter
{
public:
    struct Home
    {
        QString description, address;
        double currentValue = 0;
        QString picture, notes;
    };
    struct Area
    {
        qint32 homeId = 0;
        QString description;
        qint32 length = 0, width = 0, height = 96; // inches
        qint32 colors[3] = { 0xFFFFFF, 0xFFFFFF, 0xFFFFFF }; // 0x00BBGGRR
        QString labels[3] = { QStringLiteral("Walls"), QStringLiteral("Curtains"),
                              QStringLiteral("Panels") };
        QString notes;
    };
    struct Asset
    {
        qint32 homeId = 0, areaId = 0, categoryId = 0;
        QString description;
        double purchasePrice = 0, purchaseDate = 0; // dates: days since 1899-12-30
        double currentValue = 0, replacementValue = 0;
        QString vendor, makeModel, serialNumber;
        double warrantyExpiration = 36526; // 1 January 2000: "no warranty date"
        QString picture, notes;
    };
    struct Loan
    {
        qint32 homeId = 0;
        QString description;
        double principal = 0, interestRate = 0;
        qint32 termInMonths = 360;
        double startDate = 0;
        QString lenderName, lenderAccount, lenderPhone, notes;
    };
    struct Task
    {
        QString description;
        qint32 taskType = 1, status = 0;
        double cost = 0;
        QString vendor;
        double custom1 = 0;
        qint32 custom2 = 0;
        QString custom3, notes;
    };

    // A maintenance plan (Schedules), without a task: the program makes those when it starts.
    struct Plan
    {
        qint32 homeId = 0, assetId = 0, areaId = 0;
        QString description;
        qint32 every = 1, unit = 3; // 1 days, 2 weeks, 3 months, 4 years
        bool fromCompletion = true;
        double nextDue = 0; // the day it is next due; its day of the month is the plan's
        qint32 leadDays = 7, categoryId = 0;
        QString notes;
    };
    // A line of a plan's history (ScheduleLog).
    struct PlanEntry
    {
        qint32 planId = 0;
        double done = 0, previousDue = 0;
        bool skipped = false;
        double cost = 0;
        QString notes;
    };

    HouseholdWriter() = default;
    ~HouseholdWriter();
    HouseholdWriter(const HouseholdWriter &) = delete;
    HouseholdWriter &operator=(const HouseholdWriter &) = delete;

    // Creates the data file at path (which must not exist) and begins writing.
    bool open(const QString &path, QString *error);
    // Each adds one row and returns its id, or 0 once anything has failed.
    qint32 add(const Home &home);
    qint32 add(const Area &area);
    qint32 add(const Asset &asset);
    qint32 add(const Loan &loan);
    qint32 add(const Task &task);
    qint32 add(const Plan &plan);
    qint32 add(const PlanEntry &entry);
    // Sets the id counters and commits. Without it (or on any failure) nothing is kept: the file
    // is removed again.
    bool finish(QString *error);

private:
    sqlite3_stmt *prepare(const char *sql);
    bool step(sqlite3_stmt *statement);
    void bindText(sqlite3_stmt *statement, int slot, const QString &text);
    void close();

    sqlite3 *m_db = nullptr;
    QString m_path;
    QString m_error;
    sqlite3_stmt *m_home = nullptr, *m_area = nullptr, *m_asset = nullptr, *m_loan = nullptr,
                 *m_task = nullptr, *m_plan = nullptr, *m_planEntry = nullptr;
    qint32 m_last[5] = {};
};
