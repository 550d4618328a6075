#pragma once
// The loan operations and display texts that every page of the analyzer shares. The arithmetic
// itself lives in loan_formula.h; this adds dates, the wait cursor and the user's locale.

#include "analyzer/loan_formula.h"
#include "platform/ole_date.h"

#include <QLocale>
#include <QString>

// Total interest over the loan's life, under the wait cursor. NaN when the balance stops
// falling in single precision (see Loan::PassLimit).
float CalcTotalInterest(float principal, float annualPercent, std::int32_t termMonths);

// The date (year, month, day) or, when that day does not exist, the nearest of the four days
// before it; so 31 January steps to 28 February. Invalid when none of them exists.
COleDateTime SetDateClamped(int year, int month, int day);

// Date of payment number k (1 = the start date's month), on the start date's day clamped to
// the month's length. Invalid when the start date is.
COleDateTime PaymentDate(const COleDateTime &start, std::int64_t paymentNumber);

// "5 months", "30 years", "12.5 years" (always in lower case, the decimal written with a
// point as the handheld did).
QString FormatTerm(std::int64_t months);

// The amount in the locale's currency format, rounded to cents first. "N/A" for a value that
// is not a number: such a value must never reach the currency formatting.
QString FormatMoney(float amount, const QLocale &locale = QLocale());

// withDecimals: two decimals for values above 0; 0 and negative values are always written as
// whole numbers first (so -0.19 shows as 0.00). raw: no locale formatting at all. Without
// decimals the locale's fraction is cut off (1,234 and not 1,234.00). Uses the locale's own
// number settings, not the user's overrides.
QString FormatNumber(float value, bool withDecimals, bool raw, const QLocale &locale = QLocale());

// longForm: "Mar 5, 2002"; otherwise the locale's short date format. Empty for an invalid date.
QString FormatLoanDate(const COleDateTime &date, bool longForm, const QLocale &locale = QLocale());
