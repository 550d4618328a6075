#include "analyzer/loan_calc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

struct PaymentCase
{
    float principal;
    float rate;
    int term;
    double payment; // to four decimals
};

TEST(LoanFormula, MonthlyPaymentMatchesKnownFigures)
{
    const PaymentCase cases[] = {
        { 100000, 6, 360, 599.5505 },
        { 10000, 5, 60, 188.7123 },
        { 1000, 12, 12, 88.8488 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.principal << " at " << c.rate << " % over " << c.term);
        EXPECT_NEAR(CalcMonthlyPayment(c.principal, c.rate, c.term), c.payment, 0.00005);
    }
}

TEST(LoanFormula, MonthlyRateUsesTheSinglePrecisionConstant)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &Loan::kMonthlyRateFactor, sizeof bits);
    EXPECT_EQ(bits, 0x3A5A740Eu);
}

// Independent check: the textbook annuity formula in double precision agrees with the
// single-precision payment to within float rounding across the range the pages accept.
TEST(LoanFormula, MonthlyPaymentAgreesWithDoubleFormula)
{
    for (float principal : { 500.0f, 12345.67f, 250000.0f, 49999999.0f }) {
        for (float rate : { 0.5f, 3.25f, 7.5f, 18.0f, 99.0f }) {
            for (int term : { 1, 12, 59, 360, 1200 }) {
                const double r = rate / 1200.0;
                const double exact = principal * r / (1 - std::pow(1 + r, -term));
                const float got = CalcMonthlyPayment(principal, rate, term);
                EXPECT_NEAR(got, exact, exact * 2e-6) << principal << " " << rate << " " << term;
            }
        }
    }
}

// N/A is kept for a payment that cannot be worked out or never pays the loan off; a loan of
// nothing has a payment of 0 and is paid off from the start.
TEST(LoanFormula, UsablePaymentsAreRecognised)
{
    struct Case
    {
        float principal, rate;
        int term;
        bool usable;
    };
    const Case cases[] = {
        { 100000, 6, 360, true },
        { 0, 6, 360, true },
        { 1, 0.01f, 1200, true },
        { 50000000, 100, 1, true },
        { 100000, 6, 0, false }, // infinite
        { 0, 6, 0, false }, // 0/0
        { 100000, 0, 360, false }, // 0/0
        { 0, 0, 360, false },
        { 100000, 6, -12, false },
        { -500, 6, 360, false },
        { NAN, 6, 360, false },
        { INFINITY, 6, 360, false },
        { 100000, NAN, 360, false },
        // In single precision the payment only meets the first month's interest: the balance
        // never falls.
        { 100000, 100, 1200, false },
        { 100000, 25, 1200, false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(Loan::IsUsablePayment(c.principal, c.rate, c.term), c.usable)
            << c.principal << " at " << c.rate << " % over " << c.term;
    EXPECT_EQ(CalcMonthlyPayment(0, 6, 360), 0.0f);
}

struct InterestCase
{
    float principal;
    float rate;
    int term;
    double interest;
    std::int64_t passes;
};

TEST(LoanFormula, TotalInterestEndsOnTheBalance)
{
    const InterestCase cases[] = {
        { 100000, 6, 360, 115838.29, 361 }, // the rounded payment leaves cents for one more pass
        { 250000, 7.5f, 360, 379293.03, 360 },
        { 0, 6, 360, 0, 0 },
        { -500, 6, 360, 0, 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.principal << " at " << c.rate << " % over " << c.term);
        std::int64_t passes = -1;
        const float total = TotalInterestOf(c.principal, c.rate, c.term, &passes);
        EXPECT_NEAR(total, c.interest, 0.006);
        EXPECT_EQ(passes, c.passes);
        EXPECT_FLOAT_EQ(CalcTotalInterest(c.principal, c.rate, c.term), total);
    }
}

TEST(LoanFormula, RateZeroEndsAfterOnePassWithNoInterest)
{
    std::int64_t passes = 0;
    EXPECT_EQ(TotalInterestOf(100000, 0, 360, &passes), 0.0f);
    EXPECT_EQ(passes, 1);
}

// In single precision a long loan at a high rate has a payment equal to the first month's
// interest, so the balance never falls; the loop must give up instead of running forever.
TEST(LoanFormula, BalanceThatNeverFallsGivesNoTotal)
{
    for (const auto &[rate, term] :
         { std::pair { 100.0f, 1200 }, { 25.0f, 1200 }, { 6.0f, -12 } }) {
        std::int64_t passes = 0;
        EXPECT_TRUE(std::isnan(TotalInterestOf(100000, rate, term, &passes)))
            << rate << " " << term;
        EXPECT_EQ(passes, Loan::PassLimit(term));
    }
}

// Rows as golden_loans.py works them out, each float written with enough digits to name it.
TEST(LoanFormula, ScheduleHasExactlyTermRows)
{
    const auto rows = Loan::BuildSchedule(100000, 6, 360);
    ASSERT_EQ(rows.size(), 360u);
    struct Row
    {
        int number;
        float principal, interest, balance;
    };
    const Row expected[] = {
        { 1, 99.5505371f, 500.0f, 99900.4531f },
        { 2, 100.048279f, 499.502258f, 99800.4062f },
        { 12, 105.164734f, 494.385803f, 98772.0f },
        { 180, 243.090637f, 356.4599f, 71048.8906f },
        { 359, 593.598999f, 5.95150852f, 596.702759f },
        // Not 0: the cents single precision leaves after exactly n rows.
        { 360, 596.567017f, 2.98351383f, 0.135742188f },
    };
    for (const Row &e : expected) {
        SCOPED_TRACE(e.number);
        const Loan::ScheduleRow &row = rows[static_cast<size_t>(e.number - 1)];
        EXPECT_EQ(row.principal, e.principal);
        EXPECT_EQ(row.interest, e.interest);
        EXPECT_EQ(row.balance, e.balance);
    }
    EXPECT_TRUE(Loan::BuildSchedule(100000, 6, 0).empty());
    EXPECT_TRUE(Loan::BuildSchedule(100000, 6, -5).empty());

    // Nothing borrowed: n rows of nothing.
    const auto nothing = Loan::BuildSchedule(0, 6, 12);
    ASSERT_EQ(nothing.size(), 12u);
    for (const auto &row : nothing) {
        EXPECT_EQ(row.principal, 0.0f);
        EXPECT_EQ(row.interest, 0.0f);
        EXPECT_EQ(row.balance, 0.0f);
    }
}

Loan::PayoffInput loanFrom2002(float extra, Loan::ExtraScenario scenario, int month = 1,
                               int year = 2002)
{
    Loan::PayoffInput in;
    in.principal = 100000;
    in.annualPercent = 6;
    in.termMonths = 360;
    in.startMonth = 1;
    in.startYear = 2002;
    in.extra = extra;
    in.scenario = scenario;
    in.extraMonth = month;
    in.extraYear = year;
    return in;
}

TEST(LoanFormula, PayoffWithExtraEveryMonth)
{
    const auto result = Loan::CalcPayoff(loanFrom2002(100, Loan::ExtraScenario::EveryMonth));
    EXPECT_TRUE(result.paidOff);
    EXPECT_EQ(result.payments, 252);
    EXPECT_EQ(result.finalMonth, 12);
    EXPECT_EQ(result.finalYear, 2022);
    EXPECT_NEAR(result.totalInterest, 75937.97, 0.006);
}

// Figures from golden_loans.py; the loan without extra payments costs 115,838.29.
TEST(LoanFormula, PayoffScenariosAgainstThePlainLoan)
{
    struct Case
    {
        const char *name;
        float extra;
        Loan::ExtraScenario scenario;
        int month, year;
        float interest; // to the float
        int payments, finalMonth, finalYear;
    };
    const Case cases[] = {
        // Outside the loan's payments nothing extra is ever paid: the plain loan, 361 passes.
        { "once before the loan", 5000, Loan::ExtraScenario::OneTime, 3, 1990, 115838.289f, 361, 1,
          2032 },
        // As large as the loan: paid off in that month.
        { "once, the whole loan", 200000, Loan::ExtraScenario::OneTime, 5, 2003, 8430.58398f, 17, 5,
          2003 },
        // January every year includes the very first payment (January 2002), so it beats
        // February.
        { "every January", 1000, Loan::ExtraScenario::OnceAYear, 1, 0, 79129.2266f, 263, 11, 2023 },
        { "every February", 1000, Loan::ExtraScenario::OnceAYear, 2, 0, 79360.8984f, 263, 11,
          2023 },
        { "once with the first payment", 1000, Loan::ExtraScenario::OneTime, 1, 2002, 110976.094f,
          351, 3, 2031 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = Loan::CalcPayoff(loanFrom2002(c.extra, c.scenario, c.month, c.year));
        EXPECT_TRUE(result.paidOff);
        EXPECT_EQ(result.totalInterest, c.interest);
        EXPECT_EQ(result.payments, c.payments);
        EXPECT_EQ(result.finalMonth, c.finalMonth);
        EXPECT_EQ(result.finalYear, c.finalYear);
    }
}

TEST(LoanFormula, PayoffLoopIsBounded)
{
    // A negative extra amount keeps the balance from falling: the loop stops at its limit.
    const auto result = Loan::CalcPayoff(loanFrom2002(-1000, Loan::ExtraScenario::EveryMonth));
    EXPECT_FALSE(result.paidOff);
    EXPECT_EQ(result.payments, Loan::PassLimit(360));

    const auto nan = Loan::CalcPayoff(loanFrom2002(NAN, Loan::ExtraScenario::EveryMonth));
    EXPECT_FALSE(nan.paidOff);
    auto rateZero = loanFrom2002(100, Loan::ExtraScenario::EveryMonth);
    rateZero.annualPercent = 0;
    EXPECT_FALSE(Loan::CalcPayoff(rateZero).paidOff);

    auto nothingOwed = loanFrom2002(100, Loan::ExtraScenario::EveryMonth);
    nothingOwed.principal = 0;
    const auto none = Loan::CalcPayoff(nothingOwed);
    EXPECT_TRUE(none.paidOff);
    EXPECT_EQ(none.payments, 0);
    EXPECT_EQ(none.totalInterest, 0.0f);
}

} // namespace
