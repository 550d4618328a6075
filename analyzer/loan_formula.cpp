#include "analyzer/loan_formula.h"

#include <cmath>
#include <limits>

// Every step below is written as one operation per statement on float values so that each
// intermediate result is rounded to single precision, exactly as the handheld computed it.

float CalcMonthlyPayment(float principal, float annualPercent, std::int32_t termMonths)
{
    const float r = Loan::MonthlyRate(annualPercent);
    const float rp = r * principal;
    const double x = static_cast<double>(rp);
    const double g = static_cast<double>(r) + 1.0;
    const double h = std::pow(g, -static_cast<double>(termMonths));
    const double d = 1.0 - h;
    return static_cast<float>(x / d);
}

float TotalInterestOf(float principal, float annualPercent, std::int32_t termMonths,
                      std::int64_t *passes)
{
    const float a = CalcMonthlyPayment(principal, annualPercent, termMonths);
    const float r = Loan::MonthlyRate(annualPercent);
    const std::int64_t limit = Loan::PassLimit(termMonths);
    float balance = principal;
    float total = 0;
    std::int64_t count = 0;
    while (balance > 0) {
        if (count == limit) {
            total = std::numeric_limits<float>::quiet_NaN();
            break;
        }
        const float i = r * balance;
        total = i + total;
        const float repaid = a - i;
        balance = balance - repaid;
        ++count;
    }
    if (passes)
        *passes = count;
    return total;
}

namespace Loan {

bool IsUsablePayment(float principal, float annualPercent, std::int32_t termMonths)
{
    if (!(annualPercent > 0) || termMonths <= 0 || !(principal >= 0))
        return false;
    const float a = CalcMonthlyPayment(principal, annualPercent, termMonths);
    if (!std::isfinite(a) || a < 0)
        return false;
    if (principal == 0)
        return true;
    // The first pass of the balance loop, step by step as the loops take it: once the balance
    // falls, the interest falls with it and the part repaid only grows.
    const float i = MonthlyRate(annualPercent) * principal;
    const float repaid = a - i;
    const float after = principal - repaid;
    return after < principal;
}

std::int64_t PassLimit(std::int32_t termMonths)
{
    const std::int64_t n = termMonths > 0 ? termMonths : 0;
    return 2 * n + 1200;
}

std::vector<ScheduleRow> BuildSchedule(float principal, float annualPercent,
                                       std::int32_t termMonths)
{
    std::vector<ScheduleRow> rows;
    if (termMonths <= 0)
        return rows;
    rows.reserve(static_cast<std::size_t>(termMonths));
    const float a = CalcMonthlyPayment(principal, annualPercent, termMonths);
    const float r = MonthlyRate(annualPercent);
    float balance = principal;
    for (std::int32_t k = 1; k <= termMonths; ++k) {
        const float i = r * balance;
        const float p = a - i;
        balance = balance - p;
        rows.push_back({ p, i, balance });
    }
    return rows;
}

PayoffResult CalcPayoff(const PayoffInput &in)
{
    PayoffResult result;
    result.finalMonth = in.startMonth;
    result.finalYear = in.startYear;
    if (!(in.principal > 0))
        return result;

    if (!IsUsablePayment(in.principal, in.annualPercent, in.termMonths)) {
        result.paidOff = false;
        return result;
    }
    const float a = CalcMonthlyPayment(in.principal, in.annualPercent, in.termMonths);
    const float r = MonthlyRate(in.annualPercent);
    const std::int64_t limit = PassLimit(in.termMonths);
    float balance = in.principal;
    float total = 0;
    std::int64_t k = 0;
    int month = in.startMonth;
    int year = in.startYear;
    while (balance > 0) {
        if (k == limit) {
            result.paidOff = false;
            break;
        }
        ++k;
        const float i = r * balance;
        total = i + total;
        const float repaid = a - i;
        balance = balance - repaid;

        bool extraNow = false;
        switch (in.scenario) {
        case ExtraScenario::EveryMonth:
            extraNow = true;
            break;
        case ExtraScenario::OnceAYear:
            extraNow = month == in.extraMonth;
            break;
        case ExtraScenario::OneTime:
            extraNow = month == in.extraMonth && year == in.extraYear;
            break;
        }
        if (extraNow)
            balance = balance - in.extra;

        if (balance > 0) {
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
    // A NaN extra amount would end the loop as if the loan were repaid.
    if (std::isnan(balance))
        result.paidOff = false;
    result.totalInterest = total;
    result.payments = static_cast<std::int32_t>(k);
    result.finalMonth = month;
    result.finalYear = year;
    return result;
}

} // namespace Loan
