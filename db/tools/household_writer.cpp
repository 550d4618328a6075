#include "db/tools/household_writer.h"

#include "db/datafile.h"

#include "platform/ole_date.h"

#include <QFile>
#include <QUuid>
#include <sqlite3.h>

namespace {

enum Table { Homes, Areas, Assets, Loans, Tasks };
const char *const kTableNames[] = { "Homes", "Areas", "Assets", "Loans", "Tasks" };

} // namespace

HouseholdWriter::~HouseholdWriter()
{
    if (m_db) {
        close();
        QFile::remove(m_path);
    }
}

bool HouseholdWriter::open(const QString &path, QString *error)
{
    m_path = path;
    if (!DataFile::create(path, error))
        return false;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr)
            != SQLITE_OK
        || sqlite3_exec(m_db, "BEGIN;", nullptr, nullptr, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(sqlite3_errmsg(m_db));
        close();
        QFile::remove(path);
        return false;
    }
    m_home = prepare("INSERT INTO Homes (HomeId, Description, Address, CurrentValue, Picture2, "
                     "Notes) VALUES (?, ?, ?, ?, ?, ?);");
    m_area = prepare("INSERT INTO Areas (AreaId, HomeId, Description, Length, Width, Height, "
                     "Color1, Color2, Color3, Label1, Label2, Label3, Notes) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    m_asset = prepare("INSERT INTO Assets (AssetId, HomeId, AreaId, CategoryId, Description, "
                      "PurchasePrice, PurchaseDate, CurrentValue, ReplacementValue, Vendor, "
                      "MakeModel, SerialNumber, WarrantyExpiration, Picture2, Notes) VALUES "
                      "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    m_loan = prepare("INSERT INTO Loans (LoanId, Description, AssetId, AssetType, Principal, "
                     "InterestRate, TermInMonths, StartDate, LenderName, LenderAcctNo, "
                     "LenderPhone, Notes) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?);");
    m_task = prepare("INSERT INTO Tasks (TaskId, Description, TaskType, Status, Cost, Vendor, "
                     "Custom1, Custom2, Custom3, Notes) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    m_plan = prepare("INSERT INTO Schedules (HomeId, AssetId, AreaId, Description, Every, Unit, "
                     "FromCompletion, NextDue, AnchorDay, LeadDays, CategoryId, Notes, Uid) VALUES "
                     "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);");
    m_planEntry = prepare("INSERT INTO ScheduleLog (ScheduleId, Done, Skipped, Cost, Notes, "
                          "PreviousDue) VALUES (?, ?, ?, ?, ?, ?);");
    if (!m_error.isEmpty()) {
        if (error)
            *error = m_error;
        return false;
    }
    return true;
}

sqlite3_stmt *HouseholdWriter::prepare(const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK && m_error.isEmpty())
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    return statement;
}

void HouseholdWriter::bindText(sqlite3_stmt *statement, int slot, const QString &text)
{
    if (text.isEmpty()) {
        sqlite3_bind_null(statement, slot);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, slot, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool HouseholdWriter::step(sqlite3_stmt *statement)
{
    if (!m_error.isEmpty() || !statement)
        return false;
    const bool ok = sqlite3_step(statement) == SQLITE_DONE;
    if (!ok)
        m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(statement);
    return ok;
}

qint32 HouseholdWriter::add(const Home &home)
{
    const qint32 id = m_last[Homes] + 1;
    sqlite3_bind_int(m_home, 1, id);
    bindText(m_home, 2, home.description);
    bindText(m_home, 3, home.address);
    sqlite3_bind_double(m_home, 4, home.currentValue);
    bindText(m_home, 5, home.picture);
    bindText(m_home, 6, home.notes);
    return step(m_home) ? (m_last[Homes] = id) : 0;
}

qint32 HouseholdWriter::add(const Area &area)
{
    const qint32 id = m_last[Areas] + 1;
    sqlite3_bind_int(m_area, 1, id);
    sqlite3_bind_int(m_area, 2, area.homeId);
    bindText(m_area, 3, area.description);
    sqlite3_bind_int(m_area, 4, area.length);
    sqlite3_bind_int(m_area, 5, area.width);
    sqlite3_bind_int(m_area, 6, area.height);
    for (int i = 0; i < 3; ++i) {
        sqlite3_bind_int(m_area, 7 + i, area.colors[i]);
        bindText(m_area, 10 + i, area.labels[i]);
    }
    bindText(m_area, 13, area.notes);
    return step(m_area) ? (m_last[Areas] = id) : 0;
}

qint32 HouseholdWriter::add(const Asset &asset)
{
    const qint32 id = m_last[Assets] + 1;
    sqlite3_bind_int(m_asset, 1, id);
    sqlite3_bind_int(m_asset, 2, asset.homeId);
    sqlite3_bind_int(m_asset, 3, asset.areaId);
    sqlite3_bind_int(m_asset, 4, asset.categoryId);
    bindText(m_asset, 5, asset.description);
    sqlite3_bind_double(m_asset, 6, asset.purchasePrice);
    sqlite3_bind_double(m_asset, 7, asset.purchaseDate);
    sqlite3_bind_double(m_asset, 8, asset.currentValue);
    sqlite3_bind_double(m_asset, 9, asset.replacementValue);
    bindText(m_asset, 10, asset.vendor);
    bindText(m_asset, 11, asset.makeModel);
    bindText(m_asset, 12, asset.serialNumber);
    sqlite3_bind_double(m_asset, 13, asset.warrantyExpiration);
    bindText(m_asset, 14, asset.picture);
    bindText(m_asset, 15, asset.notes);
    return step(m_asset) ? (m_last[Assets] = id) : 0;
}

qint32 HouseholdWriter::add(const Loan &loan)
{
    const qint32 id = m_last[Loans] + 1;
    sqlite3_bind_int(m_loan, 1, id);
    bindText(m_loan, 2, loan.description);
    sqlite3_bind_int(m_loan, 3, loan.homeId);
    sqlite3_bind_double(m_loan, 4, loan.principal);
    sqlite3_bind_double(m_loan, 5, loan.interestRate);
    sqlite3_bind_int(m_loan, 6, loan.termInMonths);
    sqlite3_bind_double(m_loan, 7, loan.startDate);
    bindText(m_loan, 8, loan.lenderName);
    bindText(m_loan, 9, loan.lenderAccount);
    bindText(m_loan, 10, loan.lenderPhone);
    bindText(m_loan, 11, loan.notes);
    return step(m_loan) ? (m_last[Loans] = id) : 0;
}

qint32 HouseholdWriter::add(const Task &task)
{
    const qint32 id = m_last[Tasks] + 1;
    sqlite3_bind_int(m_task, 1, id);
    bindText(m_task, 2, task.description);
    sqlite3_bind_int(m_task, 3, task.taskType);
    sqlite3_bind_int(m_task, 4, task.status);
    sqlite3_bind_double(m_task, 5, task.cost);
    bindText(m_task, 6, task.vendor);
    sqlite3_bind_double(m_task, 7, task.custom1);
    sqlite3_bind_int(m_task, 8, task.custom2);
    bindText(m_task, 9, task.custom3);
    bindText(m_task, 10, task.notes);
    return step(m_task) ? (m_last[Tasks] = id) : 0;
}

qint32 HouseholdWriter::add(const Plan &plan)
{
    sqlite3_bind_int(m_plan, 1, plan.homeId);
    sqlite3_bind_int(m_plan, 2, plan.assetId);
    sqlite3_bind_int(m_plan, 3, plan.areaId);
    bindText(m_plan, 4, plan.description);
    sqlite3_bind_int(m_plan, 5, plan.every);
    sqlite3_bind_int(m_plan, 6, plan.unit);
    sqlite3_bind_int(m_plan, 7, plan.fromCompletion ? 1 : 0);
    sqlite3_bind_double(m_plan, 8, plan.nextDue);
    sqlite3_bind_int(m_plan, 9, COleDateTime(plan.nextDue).day());
    sqlite3_bind_int(m_plan, 10, plan.leadDays);
    sqlite3_bind_int(m_plan, 11, plan.categoryId);
    bindText(m_plan, 12, plan.notes);
    bindText(m_plan, 13, QUuid::createUuid().toString(QUuid::WithoutBraces));
    // Keyed by the engine, not by the id counters.
    return step(m_plan) ? qint32(sqlite3_last_insert_rowid(m_db)) : 0;
}

qint32 HouseholdWriter::add(const PlanEntry &entry)
{
    sqlite3_bind_int(m_planEntry, 1, entry.planId);
    sqlite3_bind_double(m_planEntry, 2, entry.done);
    sqlite3_bind_int(m_planEntry, 3, entry.skipped ? 1 : 0);
    sqlite3_bind_double(m_planEntry, 4, entry.cost);
    bindText(m_planEntry, 5, entry.notes);
    sqlite3_bind_double(m_planEntry, 6, entry.previousDue);
    return step(m_planEntry) ? qint32(sqlite3_last_insert_rowid(m_db)) : 0;
}

bool HouseholdWriter::finish(QString *error)
{
    if (m_db && m_error.isEmpty()) {
        sqlite3_stmt *counter = prepare("UPDATE TableIds SET NextId = ? WHERE TableName = ?;");
        for (int table = Homes; table <= Tasks; ++table) {
            sqlite3_bind_int(counter, 1, m_last[table] + 1);
            sqlite3_bind_text(counter, 2, kTableNames[table], -1, SQLITE_STATIC);
            step(counter);
        }
        sqlite3_finalize(counter);
        if (m_error.isEmpty()
            && sqlite3_exec(m_db, "COMMIT;", nullptr, nullptr, nullptr) != SQLITE_OK)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    if (!m_error.isEmpty() || !m_db) {
        if (error)
            *error = m_error.isEmpty() ? QStringLiteral("no data file is open") : m_error;
        return false; // the destructor removes the file
    }
    close();
    return true;
}

void HouseholdWriter::close()
{
    for (sqlite3_stmt *statement : { m_home, m_area, m_asset, m_loan, m_task, m_plan, m_planEntry })
        sqlite3_finalize(statement);
    m_home = m_area = m_asset = m_loan = m_task = m_plan = m_planEntry = nullptr;
    sqlite3_close(m_db);
    m_db = nullptr;
}
