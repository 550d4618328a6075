// The library's C entry point; everything behind it is hidden (-fvisibility=hidden).

#include "analyzer/amortix.h"

#include "analyzer/analyze_loan.h"

extern "C" AMORTIX_API void AnalyzeLoan(float principal, float rate, int32_t termMonths,
                                        const char *title, AmortixDate startDate)
{
    RunLoanAnalyzer(LoanTermsFromCaller(principal, rate, termMonths, title, startDate.days,
                                        startDate.valid != 0));
}
