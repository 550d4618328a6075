#pragma once
// The body of the exported AnalyzeLoan, callable from C++ (and from the tests).

#include "analyzer/loan_terms.h"

#include <functional>

class CCustomPropertySheet;

// Shows the analyzer modally and returns when it is closed. Creates a QApplication for the
// call when the caller runs none, and destroys it again. beforeRun, when given, sees the sheet
// just before it runs (tests use it to drive the sheet).
void RunLoanAnalyzer(const LoanTerms &loan,
                     const std::function<void(CCustomPropertySheet &)> &beforeRun = {});

// The title and start date in the forms the C entry point receives them.
LoanTerms LoanTermsFromCaller(float principal, float rate, std::int32_t termMonths,
                              const char *titleUtf8, double startDays, bool startValid);
