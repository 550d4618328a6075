#include "records/loan.h"

#include "analyzer/loan_formula.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "db/sql_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const char *const kLoadStatement = "SELECT * FROM Loans WHERE LoanId=%ld;";

} // namespace

CLoan::CLoan(const QDate &today)
    : m_dtStartDate(defaultStartDate(today))
{
    m_strDescription = QStringLiteral("New Loan");
}

CLoan::CLoan(qint32 id, const QDate &today)
    : CLoan(today)
{
    m_id = id;
}

COleDateTime CLoan::defaultStartDate(const QDate &today)
{
    return COleDateTime(today.year() - 1, 12, 31);
}

bool CLoan::Load(CADODataBase &db)
{
    if (!Exists())
        return false;
    CADORecordset rs(db);
    if (!rs.Open(sqlText(kLoadStatement, long(m_id))) || rs.IsEof())
        return false;
    int assetType = m_nAssetType;
    int term = m_nTermInMonths;
    rs.GetString(QStringLiteral("Description"), m_strDescription);
    rs.GetLong(QStringLiteral("AssetId"), m_nAssetId);
    if (rs.GetInt(QStringLiteral("AssetType"), assetType))
        m_nAssetType = assetType;
    rs.GetFloat(QStringLiteral("Principal"), m_fPrincipal);
    rs.GetFloat(QStringLiteral("InterestRate"), m_fInterestRate);
    if (rs.GetInt(QStringLiteral("TermInMonths"), term))
        m_nTermInMonths = term;
    rs.GetDate(QStringLiteral("StartDate"), m_dtStartDate);
    rs.GetString(QStringLiteral("LenderName"), m_strLenderName);
    rs.GetString(QStringLiteral("LenderAcctNo"), m_strLenderAcctNo);
    rs.GetString(QStringLiteral("LenderPhone"), m_strLenderPhone);
    rs.GetString(QStringLiteral("Notes"), m_strNotes);
    return true;
}

bool CLoan::Save(CADODataBase &db)
{
    return saveRow(db, "Loans", "INSERT INTO [Loans] ([LoanId]) VALUES (%ld);", kLoadStatement,
                   [&](CADORecordset &rs) {
                       return rs.SetString(QStringLiteral("Description"), m_strDescription)
                           && rs.SetLong(QStringLiteral("AssetId"), m_nAssetId)
                           && rs.SetInt(QStringLiteral("AssetType"), m_nAssetType)
                           && rs.SetDouble(QStringLiteral("Principal"), double(m_fPrincipal))
                           && rs.SetDouble(QStringLiteral("InterestRate"), double(m_fInterestRate))
                           && rs.SetInt(QStringLiteral("TermInMonths"), m_nTermInMonths)
                           && rs.SetDate(QStringLiteral("StartDate"), m_dtStartDate)
                           && rs.SetString(QStringLiteral("LenderName"), m_strLenderName)
                           && rs.SetString(QStringLiteral("LenderAcctNo"), m_strLenderAcctNo)
                           && rs.SetString(QStringLiteral("LenderPhone"), m_strLenderPhone)
                           && rs.SetString(QStringLiteral("Notes"), m_strNotes);
                   });
}

bool CLoan::Delete(CADODataBase &db)
{
    if (!Exists())
        return false;
    return db.Execute(sqlText("DELETE FROM Loans WHERE LoanId=%ld;", long(m_id)));
}

namespace LoanEstimate {

QString message(Check check)
{
    switch (check) {
    case Check::Ok:
        break;
    case Check::PrincipalNotPositive:
        return QStringLiteral("Principal must be greater than 0.");
    case Check::StartNotEarlier:
        return QStringLiteral("Start date must be earlier than today.");
    case Check::TermNotPositive:
        return QStringLiteral("Term must be greater than 0.");
    case Check::RateNotPositive:
        return QStringLiteral("Interest rate must be greater than 0.");
    }
    return {};
}

qint64 wholeDaysBetween(const COleDateTime &start, const COleDateTime &now)
{
    // Calendar fields, not the raw day numbers: before 1899-12-30 the fraction of a day value
    // counts forward from midnight, so subtracting two such values is not a span of time.
    const QDateTime from = start.toDateTime();
    const QDateTime to = now.toDateTime();
    qint64 days = from.date().daysTo(to.date());
    if (days > 0 && to.time() < from.time())
        --days;
    else if (days < 0 && to.time() > from.time())
        ++days;
    return days;
}

qint32 monthsElapsed(qint64 days)
{
    if (days <= 0)
        return 0;
    // 1/30 as the handheld kept it, in single precision: slightly above 1/30, so every day past
    // a whole number of 30-day months starts a further month (30 days count as 2).
    constexpr float kPerDay = 0.033333335f;
    qint64 months = days / 30;
    if (double(days) * double(kPerDay) > double(months))
        ++months;
    return qint32(std::min<qint64>(months, std::numeric_limits<qint32>::max()));
}

Remaining remaining(float principal, float annualPercent, qint32 termMonths,
                    const COleDateTime &start, const COleDateTime &now)
{
    Remaining result;
    result.principal = principal;
    result.termMonths = termMonths;
    if (!(principal > 0)) {
        result.check = Check::PrincipalNotPositive;
        return result;
    }
    if (!(start.days() < now.days())) {
        result.check = Check::StartNotEarlier;
        return result;
    }
    if (termMonths < 1) {
        result.check = Check::TermNotPositive;
        return result;
    }
    if (!(annualPercent > 0)) {
        result.check = Check::RateNotPositive;
        return result;
    }

    const qint32 k = monthsElapsed(wholeDaysBetween(start, now));
    result.monthsElapsed = k;
    if (k < 1)
        return result;
    if (k >= termMonths) {
        // Every payment of the schedule is behind us: the loan is paid off. Running the
        // schedule further would only invent a negative balance.
        result.principal = 0.0f;
        result.termMonths = 0;
        return result;
    }

    const double r = double(Loan::MonthlyRate(annualPercent));
    const double payment = double(CalcMonthlyPayment(principal, annualPercent, termMonths));
    double balance = double(principal);
    double paid = 0.0;
    for (qint32 month = 0; month < k; ++month) {
        const double repaid = payment - r * balance;
        balance -= repaid;
        paid += repaid;
    }
    result.principal = std::max(0.0f, float(double(principal) - paid));
    result.termMonths = termMonths - k;
    return result;
}

} // namespace LoanEstimate

LoanList loansOfHome(CADODataBase &db, qint32 homeId)
{
    LoanList list;
    CADORecordset rs(db);
    if (!rs.Open(sqlText("SELECT LoanId, Description, LenderName, Principal, AssetType FROM Loans "
                         "WHERE AssetId=%ld ORDER BY Principal DESC;",
                         long(homeId)))) {
        list.ok = false;
        return list;
    }
    for (; !rs.IsEof(); rs.MoveNext()) {
        LoanListRow row;
        QString lender;
        int assetType = 0;
        rs.GetLong(QStringLiteral("LoanId"), row.id);
        rs.GetString(QStringLiteral("Description"), row.text);
        rs.GetString(QStringLiteral("LenderName"), lender);
        rs.GetFloat(QStringLiteral("Principal"), row.principal);
        rs.GetInt(QStringLiteral("AssetType"), assetType);
        if (!lender.isEmpty())
            row.text += QStringLiteral(" (") + lender + QLatin1Char(')');
        row.affectsEquity = assetType > 0;
        if (row.affectsEquity)
            list.totalLiability += row.principal;
        list.rows.push_back(std::move(row));
    }
    return list;
}
