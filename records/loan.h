#pragma once
// CLoan: one row of Loans, a debt the user ties to a home; the estimate of what is still owed
// (Auto Update); and the list of a home's loans with their total.

#include "platform/ole_date.h"
#include "records/data_record.h"

#include <QDate>
#include <QString>

#include <vector>

class CADODataBase;

class CLoan : public CDataRecord
{
public:
    // A new loan: "New Loan", 6 % over 360 months, affecting equity, started on the last day of
    // the year before today's.
    explicit CLoan(const QDate &today = QDate::currentDate());
    explicit CLoan(qint32 id, const QDate &today = QDate::currentDate());

    static COleDateTime defaultStartDate(const QDate &today);

    // Reads the row; false when the loan is not stored or its row has gone (the fields then
    // keep their values).
    bool Load(CADODataBase &db);
    // Stores the loan, taking a new id first when it has none. The key and the columns land
    // together: on failure nothing is stored and a new loan keeps id -1.
    bool Save(CADODataBase &db);
    // Removes the loan's row; nothing else.
    bool Delete(CADODataBase &db);

    qint32 m_nAssetId = 0; // the HomeId of the home the loan belongs to
    qint32 m_nAssetType = 1; // 1: affects the home's equity
    float m_fPrincipal = 0.0f;
    float m_fInterestRate = 6.0f;
    qint32 m_nTermInMonths = 360;
    COleDateTime m_dtStartDate;
    QString m_strLenderName;
    QString m_strLenderAcctNo;
    QString m_strLenderPhone;
};

namespace LoanEstimate {

// Auto Update's checks, in the order they are made.
enum class Check { Ok, PrincipalNotPositive, StartNotEarlier, TermNotPositive, RateNotPositive };

// The message a failed check shows; empty for Ok.
QString message(Check check);

struct Remaining
{
    Check check = Check::Ok;
    qint32 monthsElapsed = 0;
    float principal = 0.0f; // still owed
    qint32 termMonths = 0; // payments left
};

// How much of the loan is still owed at now and how many payments remain, assuming every
// payment since start was made on time. Every started 30 days count as a month paid (so a
// loan started 45 days ago has made 2 payments; one started less than a day ago none). Past the
// end of the term the loan is paid off: principal 0 and term 0, never negative figures.
Remaining remaining(float principal, float annualPercent, qint32 termMonths,
                    const COleDateTime &start, const COleDateTime &now);

// Whole days from start to now, truncated toward zero.
qint64 wholeDaysBetween(const COleDateTime &start, const COleDateTime &now);
// Months counted as paid after days whole days.
qint32 monthsElapsed(qint64 days);

} // namespace LoanEstimate

// One row of a home's Loans page.
struct LoanListRow
{
    qint32 id = 0;
    QString text; // "Mortgage (First Bank)", or "Mortgage" without a lender
    float principal = 0.0f;
    bool affectsEquity = false;
};

struct LoanList
{
    std::vector<LoanListRow> rows; // largest principal first
    float totalLiability = 0.0f; // of the loans that affect the home's equity
    bool ok = true; // false when the loans could not be read
};

LoanList loansOfHome(CADODataBase &db, qint32 homeId);
