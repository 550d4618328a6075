#include "db/ado_recordset.h"
#include "records/loan.h"
#include "support/data_file_test.h"

#include <gtest/gtest.h>

namespace {

class LoanRecord : public DataFileTest
{
protected:
    qint32 storeLoan(qint32 homeId, const QString &name, const QString &lender, float principal,
                     int affectsEquity)
    {
        CLoan loan;
        loan.m_nAssetId = homeId;
        loan.m_strDescription = name;
        loan.m_strLenderName = lender;
        loan.m_fPrincipal = principal;
        loan.m_nAssetType = affectsEquity;
        EXPECT_TRUE(loan.Save(db)) << db.GetLastError().toStdString();
        return loan.id();
    }
};

TEST_F(LoanRecord, ANewLoanStartsWithTheDocumentedDefaults)
{
    const CLoan loan(QDate(2026, 3, 14));
    EXPECT_FALSE(loan.Exists());
    EXPECT_EQ(loan.m_strDescription, QStringLiteral("New Loan"));
    EXPECT_EQ(loan.m_nAssetType, 1);
    EXPECT_EQ(loan.m_fInterestRate, 6.0f);
    EXPECT_EQ(loan.m_nTermInMonths, 360);
    EXPECT_EQ(loan.m_fPrincipal, 0.0f);
    EXPECT_EQ(loan.m_dtStartDate.toDateTime(), QDateTime(QDate(2025, 12, 31), QTime(0, 0)));
}

TEST_F(LoanRecord, EveryColumnRoundTripsAndTextIsKeptVerbatim)
{
    run(QStringLiteral("UPDATE TableIds SET NextId=7 WHERE TableName='Loans';"));
    const QString awkward = QStringLiteral("O'Brien \"Bank\"; DROP TABLE Loans; --\r\nline two\n");
    const QString large = QString(100 * 1024, QLatin1Char('x')) + QStringLiteral("\nend");
    CLoan loan;
    loan.m_strDescription = awkward;
    loan.m_nAssetId = 3;
    loan.m_nAssetType = 0;
    loan.m_fPrincipal = 123456.78f;
    loan.m_fInterestRate = 4.25f;
    loan.m_nTermInMonths = 180;
    loan.m_dtStartDate = COleDateTime(2019, 5, 1);
    loan.m_strLenderName = awkward;
    loan.m_strLenderAcctNo = QStringLiteral("12-34");
    loan.m_strLenderPhone = QStringLiteral("555 0100");
    loan.m_strNotes = large;
    ASSERT_TRUE(loan.Save(db)) << db.GetLastError().toStdString();
    EXPECT_EQ(loan.id(), 7);

    CLoan stored(7);
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_strDescription, awkward);
    EXPECT_EQ(stored.m_nAssetId, 3);
    EXPECT_EQ(stored.m_nAssetType, 0);
    EXPECT_EQ(stored.m_fPrincipal, 123456.78f);
    EXPECT_EQ(stored.m_fInterestRate, 4.25f);
    EXPECT_EQ(stored.m_nTermInMonths, 180);
    EXPECT_EQ(stored.m_dtStartDate.days(), COleDateTime(2019, 5, 1).days());
    EXPECT_EQ(stored.m_strLenderName, awkward);
    EXPECT_EQ(stored.m_strLenderAcctNo, QStringLiteral("12-34"));
    EXPECT_EQ(stored.m_strLenderPhone, QStringLiteral("555 0100"));
    EXPECT_EQ(stored.m_strNotes, large);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans;")), 1);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans WHERE LenderPhone IS NOT NULL "
                                    "AND Notes IS NOT NULL;")),
              1);

    // Deleting removes just that row.
    storeLoan(3, QStringLiteral("Car"), QString(), 5000.0f, 0);
    ASSERT_TRUE(stored.Delete(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans WHERE LoanId=7;")), 0);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans;")), 1);
}

TEST_F(LoanRecord, AFailedSaveStoresNothingAndKeepsTheLoanNew)
{
    run(QStringLiteral("DELETE FROM TableIds WHERE TableName='Loans';"));
    CLoan loan;
    EXPECT_FALSE(loan.Save(db));
    EXPECT_EQ(loan.id(), CDataRecord::kNoId);
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans;")), 0);

    // A stored id whose row has gone is not brought back by a save.
    CLoan gone(55);
    gone.m_strDescription = QStringLiteral("kept");
    EXPECT_FALSE(gone.Load(db));
    EXPECT_EQ(gone.m_strDescription, QStringLiteral("kept"));
    EXPECT_FALSE(gone.Save(db));
    EXPECT_EQ(number(QStringLiteral("SELECT COUNT(*) FROM Loans;")), 0);
}

TEST_F(LoanRecord, TheLoansListRunsByPrincipalAndTotalsOnlyEquityLoans)
{
    storeLoan(1, QStringLiteral("Card"), QString(), 20000.0f, 0);
    storeLoan(1, QStringLiteral("Mortgage"), QStringLiteral("First Bank"), 100000.0f, 1);
    storeLoan(1, QStringLiteral("Second"), QString(), 2500.5f, 1);
    storeLoan(2, QStringLiteral("Other home"), QString(), 999999.0f, 1);

    const LoanList list = loansOfHome(db, 1);
    ASSERT_TRUE(list.ok);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0].text, QStringLiteral("Mortgage (First Bank)"));
    EXPECT_EQ(list.rows[0].principal, 100000.0f);
    EXPECT_TRUE(list.rows[0].affectsEquity);
    EXPECT_EQ(list.rows[1].text, QStringLiteral("Card"));
    EXPECT_FALSE(list.rows[1].affectsEquity);
    EXPECT_EQ(list.rows[2].text, QStringLiteral("Second"));
    EXPECT_EQ(list.totalLiability, 102500.5f);

    const LoanList none = loansOfHome(db, 9);
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.totalLiability, 0.0f);
}

// --- Auto Update ------------------------------------------------------------------------------

const COleDateTime kNow = COleDateTime(2026, 6, 15, 14, 30, 0);

COleDateTime daysBefore(const COleDateTime &now, int days, int hours = 0)
{
    return COleDateTime::fromDateTime(now.toDateTime().addDays(-days).addSecs(-3600 * hours));
}

TEST(LoanEstimate, ThirtyDayMonthsCountEveryStartedMonth)
{
    const std::pair<qint64, qint32> cases[] = { { 0, 0 },  { 1, 1 },  { 29, 1 }, { 30, 2 },
                                                { 45, 2 }, { 59, 2 }, { 60, 3 }, { -3, 0 } };
    for (const auto &[days, months] : cases)
        EXPECT_EQ(LoanEstimate::monthsElapsed(days), months) << days << " days";

    EXPECT_EQ(LoanEstimate::wholeDaysBetween(daysBefore(kNow, 45), kNow), 45);
    // 44 days and 23 hours are 44 whole days; a day less an hour is none.
    EXPECT_EQ(LoanEstimate::wholeDaysBetween(
                  COleDateTime::fromDateTime(kNow.toDateTime().addDays(-45).addSecs(3600)), kNow),
              44);
    EXPECT_EQ(LoanEstimate::wholeDaysBetween(daysBefore(kNow, 0, 23), kNow), 0);
}

TEST(LoanEstimate, FortyFiveDaysIntoAThirtyYearLoanTwoPaymentsAreMade)
{
    const auto result = LoanEstimate::remaining(100000.0f, 6.0f, 360, daysBefore(kNow, 45), kNow);
    EXPECT_EQ(result.check, LoanEstimate::Check::Ok);
    EXPECT_EQ(result.monthsElapsed, 2);
    // Payments of 599.55 repay 99.55 and then 100.05 of the principal.
    EXPECT_NEAR(result.principal, 99800.40f, 0.01f);
    EXPECT_EQ(result.termMonths, 358);
}

TEST(LoanEstimate, AStartEarlierTodayChangesNothingButAStartFromNowOnIsRefused)
{
    const auto today = LoanEstimate::remaining(100000.0f, 6.0f, 360, daysBefore(kNow, 0, 5), kNow);
    EXPECT_EQ(today.check, LoanEstimate::Check::Ok);
    EXPECT_EQ(today.monthsElapsed, 0);
    EXPECT_EQ(today.principal, 100000.0f);
    EXPECT_EQ(today.termMonths, 360);

    for (const COleDateTime &start : { kNow, daysBefore(kNow, -1) }) {
        const auto refused = LoanEstimate::remaining(100000.0f, 6.0f, 360, start, kNow);
        EXPECT_EQ(refused.check, LoanEstimate::Check::StartNotEarlier);
        EXPECT_EQ(LoanEstimate::message(refused.check),
                  QStringLiteral("Start date must be earlier than today."));
        EXPECT_EQ(refused.principal, 100000.0f);
        EXPECT_EQ(refused.termMonths, 360);
    }
}

TEST(LoanEstimate, ChecksComeInOrderAndStopAtTheFirstFailure)
{
    using LoanEstimate::Check;
    const COleDateTime past = daysBefore(kNow, 100);
    const COleDateTime future = daysBefore(kNow, -100);
    EXPECT_EQ(LoanEstimate::remaining(0.0f, 0.0f, 0, future, kNow).check,
              Check::PrincipalNotPositive);
    EXPECT_EQ(LoanEstimate::remaining(-5.0f, 6.0f, 360, past, kNow).check,
              Check::PrincipalNotPositive);
    EXPECT_EQ(LoanEstimate::remaining(10.0f, 0.0f, 0, future, kNow).check, Check::StartNotEarlier);
    EXPECT_EQ(LoanEstimate::remaining(10.0f, 0.0f, 0, past, kNow).check, Check::TermNotPositive);
    EXPECT_EQ(LoanEstimate::remaining(10.0f, 0.0f, 12, past, kNow).check, Check::RateNotPositive);
    EXPECT_EQ(LoanEstimate::message(Check::PrincipalNotPositive),
              QStringLiteral("Principal must be greater than 0."));
    EXPECT_EQ(LoanEstimate::message(Check::TermNotPositive),
              QStringLiteral("Term must be greater than 0."));
    EXPECT_EQ(LoanEstimate::message(Check::RateNotPositive),
              QStringLiteral("Interest rate must be greater than 0."));
}

TEST(LoanEstimate, PastTheEndOfTheTermTheLoanIsPaidOffNeverNegative)
{
    // 12 months, started 400 days ago: 14 months have passed.
    const auto over = LoanEstimate::remaining(10000.0f, 6.0f, 12, daysBefore(kNow, 400), kNow);
    EXPECT_EQ(over.check, LoanEstimate::Check::Ok);
    EXPECT_EQ(over.monthsElapsed, 14);
    EXPECT_EQ(over.principal, 0.0f);
    EXPECT_EQ(over.termMonths, 0);

    // The last month of the schedule leaves nothing either.
    const auto last = LoanEstimate::remaining(10000.0f, 6.0f, 12, daysBefore(kNow, 335), kNow);
    EXPECT_EQ(last.monthsElapsed, 12);
    EXPECT_EQ(last.principal, 0.0f);
    EXPECT_EQ(last.termMonths, 0);

    // One month before the end a little is still owed.
    const auto before = LoanEstimate::remaining(10000.0f, 6.0f, 12, daysBefore(kNow, 329), kNow);
    EXPECT_EQ(before.monthsElapsed, 11);
    EXPECT_EQ(before.termMonths, 1);
    EXPECT_GT(before.principal, 800.0f);
    EXPECT_LT(before.principal, 900.0f);
}

} // namespace
