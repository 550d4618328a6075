#pragma once
// The level-payment arithmetic of a fixed-rate loan, in single precision as the handheld did it.
// Depends on the standard library alone: the desktop program compiles this same file for its
// loan estimates, so both give the same cents.

#include <cstdint>
#include <vector>

namespace Loan {

// 1/1200 rounded to single precision (bit pattern 0x3A5A740E). Using the rounded constant, not
// rate / 1200, is what makes our figures match the ones users already know.
inline constexpr float kMonthlyRateFactor = 0.00083333335f;

inline float MonthlyRate(float annualPercent)
{
    return annualPercent * kMonthlyRateFactor;
}

// Whether the loan has a level payment the pages may show and compute with. Not when the payment
// cannot be worked out (a rate or term of 0 or less gives 0/0 or an infinite value; NaN or
// infinite terms), nor when it never pays the loan off: a payment that does not reduce a
// positive balance in its first month (in single precision that happens for long terms at high
// rates). A principal of 0 is a loan of nothing: its payment of 0 is usable.
bool IsUsablePayment(float principal, float annualPercent, std::int32_t termMonths);

// The most passes a balance loop makes for a term of n months before it gives up. Legitimate
// loans end within a few passes of n; beyond that the balance has stopped falling in single
// precision (very long terms at high rates, or a negative term handed in by a caller).
std::int64_t PassLimit(std::int32_t termMonths);

struct ScheduleRow
{
    float principal = 0; // part of the payment that repays principal
    float interest = 0;
    float balance = 0; // after the payment, as the arithmetic leaves it (may be a few cents off 0)
};

// Exactly max(n, 0) rows; the schedule does not stop early when the balance reaches 0.
std::vector<ScheduleRow> BuildSchedule(float principal, float annualPercent,
                                       std::int32_t termMonths);

enum class ExtraScenario { EveryMonth = 1, OnceAYear = 2, OneTime = 3 };

struct PayoffInput
{
    float principal = 0;
    float annualPercent = 0;
    std::int32_t termMonths = 0;
    int startMonth = 1; // month (1..12) and year of the first payment
    int startYear = 2000;
    float extra = 0;
    ExtraScenario scenario = ExtraScenario::EveryMonth;
    int extraMonth = 1; // 1..12, for the yearly and one-time scenarios
    int extraYear = 2000; // for the one-time scenario
};

struct PayoffResult
{
    float totalInterest = 0;
    std::int32_t payments = 0;
    int finalMonth = 0; // month and year of the last payment
    int finalYear = 0;
    bool paidOff = true; // false when the balance stopped falling and the loop gave up
};

PayoffResult CalcPayoff(const PayoffInput &input);

} // namespace Loan

// The names the rest of the product has always used for these two.
float CalcMonthlyPayment(float principal, float annualPercent, std::int32_t termMonths);

// Interest paid until the balance reaches 0 (that may be one pass more than the term, because
// the payment is rounded to single precision). Returns NaN when the balance stops falling
// before PassLimit passes. passes, when given, receives the number of passes made.
float TotalInterestOf(float principal, float annualPercent, std::int32_t termMonths,
                      std::int64_t *passes = nullptr);
