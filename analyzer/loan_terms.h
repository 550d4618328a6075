#pragma once
// The loan handed to the analyzer by its caller.

#include "platform/ole_date.h"

#include <QString>

#include <cstdint>

struct LoanTerms
{
    float principal = 0;
    float annualPercent = 0;
    std::int32_t termMonths = 0;
    QString title;
    COleDateTime start = COleDateTime::invalidDate();
};
