#pragma once
// The schedule as comma-separated values, for the stand-in caller's --report mode. Built from
// the same operations as the pages, so the figures are the ones the pages show.

#include "platform/ole_date.h"

#include <QLocale>
#include <QString>

class QIODevice;

struct LoanReportInput
{
    float principal = 0;
    float annualPercent = 0;
    std::int32_t termMonths = 0;
    QString title;
    COleDateTime start; // invalid: the Date column stays empty
};

// Writes the report as UTF-8. A field is quoted when it holds a comma, a quote or a line break.
// Returns false when the device refused to take it.
bool WriteLoanReport(QIODevice &out, const LoanReportInput &input, const QLocale &locale);
