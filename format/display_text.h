#pragma once
// The texts every number, amount and date is shown as. Dates and money follow the user's regional
// settings, numbers the locale's standard number format; the plain number form is locale-free
// text for edit boxes, read back as a number.
//
// Every function takes the locale to use; by default the user locale below, which is
// QLocale::system() (honouring LC_NUMERIC, LC_MONETARY and LC_TIME) unless set otherwise.

#include "platform/ole_date.h"

#include <QLocale>
#include <QString>
#include <QStringList>

const QLocale &userLocale();
// Tests and embedding programs fix the locale here; reset returns to QLocale::system().
void setUserLocale(const QLocale &locale);
void resetUserLocale();

// The user's short date (longForm false) or long date, without the time of day. An invalid or
// null date gives an empty text.
QString dateText(const COleDateTime &date, bool longForm, const QLocale &locale = userLocale());

// Values are rounded as the decimal number the float stands for (2.675f is 2.68, 1234.567f is
// 1234.57), not by the float's binary expansion; NaN and infinities give an empty text.
// withDecimals and a positive value: two decimals; otherwise the value truncated toward zero
// (so zero and negative values lose their fraction even with decimals: -3.7 gives -3). plain: no
// grouping, a period as decimal mark; otherwise grouped in the locale's standard number format,
// with two decimals when withDecimals is set (-5.25 gives "-5.00") and none when it is not.
QString numberText(float value, bool withDecimals, bool plain,
                   const QLocale &locale = userLocale());

// The value rounded to cents, in the locale's currency format (symbol, grouping, negative form,
// and the currency's own number of decimals). A value that rounds to zero shows as zero, never
// as a negative zero.
QString moneyText(float value, const QLocale &locale = userLocale());
// The same for an amount kept in double precision (a sum of many values), whose cents a float
// could not hold once it passes about 100,000.
QString moneyText(double value, const QLocale &locale = userLocale());

// A term in months as its number edit and unit drop-down show it.
enum TermUnit { TermMonths = 0, TermYears = 1 };
// The unit drop-down's entries, in TermUnit order.
QStringList termUnitNames();

struct TermText
{
    QString number;
    int unitIndex = TermMonths;
};
// Whole years (0 included) show as years, anything else as months.
TermText termText(qint32 months);
// The edit's leading integer (0 when it has none) times 12 unless the unit is Months; no
// selection (-1) counts as years. The result saturates at the 32-bit limits.
qint32 termMonths(const QString &numberText, int unitIndex);

// Display format of every date picker on the record pages, e.g. "Sun, Dec 7, 2026".
QString datePickerFormat();
