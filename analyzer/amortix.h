/* The loan analyzer's entry point, as the handheld edition calls it.
 *
 * Load libAmortix.so with dlopen() and look up "AnalyzeLoan" with dlsym(); the name is plain C,
 * not mangled. The call shows the modal "Loan Analyzer" window and returns when the user closes
 * it. It works whether or not the caller already runs a QApplication: when there is none, the
 * library creates one for the call and destroys it before returning. Call it on the thread
 * that runs (or would run) the user interface.
 */
#ifndef AMORTIX_H
#define AMORTIX_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define AMORTIX_API __attribute__((visibility("default")))
#else
#define AMORTIX_API
#endif

/* A date as the handheld keeps it. */
typedef struct AmortixDate
{
    double days; /* days since 30 December 1899; the fraction is the time of day */
    int32_t valid; /* 0: no date (payment dates are then not shown) */
} AmortixDate;

/* principal:   the amount owed (the analyzer accepts 0 to 50,000,000)
 * rate:        percent per year, 7.5 meaning 7.5 % (0 to 100)
 * termMonths:  the number of monthly payments (up to 1200 months or 1200 years)
 * title:       UTF-8 text shown at the top of the Details page; NULL or "" shows
 *              "Loan Analyzer". The library keeps no pointer to it after returning.
 * startDate:   the first payment falls in this date's month, on its day of the month.
 * Values outside the ranges are shown and refused by the pages with a message. */
AMORTIX_API void AnalyzeLoan(float principal, float rate, int32_t termMonths, const char *title,
                             AmortixDate startDate);

typedef void (*AnalyzeLoanFunction)(float, float, int32_t, const char *, AmortixDate);

#ifdef __cplusplus
}
#endif

#endif /* AMORTIX_H */
