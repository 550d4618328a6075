#include "analyzer/loan_calc.h"

#include "comma_locale.h"
#include "print_qt.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QLocale us(QLocale::English, QLocale::UnitedStates);
const QLocale germany(QLocale::German, QLocale::Germany);

TEST(LoanText, TermInMonthsOrYears)
{
    const std::pair<int, const char *> cases[] = {
        { 11, "11 months" },   { 12, "1 years" },       { 18, "1.5 years" },
        { 359, "29.9 years" }, { 0, "0 months" },       { 1, "1 months" },
        { 5, "5 months" },     { 360, "30 years" },     { 150, "12.5 years" },
        { -24, "-24 months" }, { 1201, "100.1 years" },
    };
    for (const auto &[months, text] : cases)
        EXPECT_EQ(FormatTerm(months), QString::fromLatin1(text)) << months;
}

// The handheld always wrote the decimal with a point. QApplication sets the C library's
// LC_NUMERIC from the environment, so printf-family formatting would write "12,5" for a user
// in Germany; every text must come out the same as in the C locale.
TEST(LoanText, TextsIgnoreTheCLibrarysNumericLocale)
{
    COMMA_NUMERIC_LOCALE(comma);
    EXPECT_EQ(FormatTerm(150), QStringLiteral("12.5 years"));
    EXPECT_EQ(FormatTerm(18), QStringLiteral("1.5 years"));
    EXPECT_EQ(FormatTerm(1201), QStringLiteral("100.1 years"));
    EXPECT_EQ(FormatMoney(599.5505f, us), QStringLiteral("$599.55"));
    EXPECT_EQ(FormatMoney(0.006f, us), QStringLiteral("$0.01"));
    EXPECT_EQ(FormatNumber(99900.45f, true, false, us), QStringLiteral("99,900.45"));
    EXPECT_EQ(FormatNumber(1234.56f, true, true, us), QStringLiteral("1234.56"));
}

TEST(LoanText, DatesClampToTheEndOfTheMonth)
{
    struct Case
    {
        int year, month, day;
        QDate expected;
    };
    const Case cases[] = {
        { 2002, 2, 31, QDate(2002, 2, 28) },
        { 2004, 2, 31, QDate(2004, 2, 29) },
        { 2002, 4, 31, QDate(2002, 4, 30) },
        { 2002, 1, 31, QDate(2002, 1, 31) },
        { 2002, 13, 1, QDate() },
        { 2002, 2, 0, QDate() },
        { 2002, 2, 40, QDate() }, // five days back is still not a day of February
    };
    for (const auto &c : cases) {
        const COleDateTime date = SetDateClamped(c.year, c.month, c.day);
        EXPECT_EQ(date.isValid(), c.expected.isValid()) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(date.date(), c.expected);
    }
}

TEST(LoanText, PaymentDatesStepByMonth)
{
    const COleDateTime start(2002, 1, 31);
    EXPECT_EQ(PaymentDate(start, 1).date(), QDate(2002, 1, 31));
    EXPECT_EQ(PaymentDate(start, 2).date(), QDate(2002, 2, 28));
    EXPECT_EQ(PaymentDate(start, 4).date(), QDate(2002, 4, 30));
    EXPECT_EQ(PaymentDate(start, 12).date(), QDate(2002, 12, 31));
    EXPECT_EQ(PaymentDate(start, 13).date(), QDate(2003, 1, 31));
    EXPECT_EQ(PaymentDate(start, 26).date(), QDate(2004, 2, 29));
    EXPECT_FALSE(PaymentDate(COleDateTime::invalidDate(), 1).isValid());
    EXPECT_FALSE(PaymentDate(COleDateTime(1e300), 1).isValid());
    EXPECT_FALSE(PaymentDate(start, 0).isValid());
}

TEST(LoanText, MoneyInTheLocaleCurrency)
{
    EXPECT_EQ(FormatMoney(599.5505f, us), QStringLiteral("$599.55"));
    EXPECT_EQ(FormatMoney(115838.29f, us), QStringLiteral("$115,838.29"));
    EXPECT_EQ(FormatMoney(0.006f, us), QStringLiteral("$0.01"));
    EXPECT_EQ(FormatMoney(0.004f, us), QStringLiteral("$0.00"));
    EXPECT_EQ(FormatMoney(599.5505f, germany), germany.toCurrencyString(599.55));
    EXPECT_NE(FormatMoney(599.5505f, germany), FormatMoney(599.5505f, us));
    // Not a number never reaches the currency formatting.
    EXPECT_EQ(FormatMoney(INFINITY, us), QStringLiteral("N/A"));
    EXPECT_EQ(FormatMoney(NAN, us), QStringLiteral("N/A"));
}

TEST(LoanText, NumbersWithAndWithoutDecimals)
{
    struct Case
    {
        float value;
        bool decimals, raw;
        const char *text;
    };
    const Case cases[] = {
        { 99900.45f, true, false, "99,900.45" },
        { -0.19f, true, false, "0.00" }, // not above 0: written as a whole number first
        { -599.41f, true, false, "-599.00" },
        { 2.5f, false, false, "2" },
        { 1234.56f, false, false, "1,234" },
        { 1234.56f, true, true, "1234.56" },
        { -0.19f, true, true, "0" },
        { 0.14f, true, false, "0.14" },
        // Exact binary ties round as printf rounds them (to even), not half up.
        { 0.125f, true, true, "0.12" },
        { 0.375f, true, false, "0.38" },
        { INFINITY, true, false, "N/A" },
        { NAN, false, false, "N/A" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.decimals, c.raw, us), QString::fromLatin1(c.text))
            << c.value << " " << c.decimals << " " << c.raw;
    EXPECT_EQ(FormatNumber(99900.45f, true, false, germany), QStringLiteral("99.900,45"));
    EXPECT_EQ(FormatNumber(1234.56f, false, false, germany), QStringLiteral("1.234"));
    // Huge values are still written in full, not cut or garbled.
    EXPECT_EQ(FormatNumber(1e20f, false, true, us).size(), 21);
}

TEST(LoanText, NumbersIgnoreTheUsersOverrides)
{
    QLocale plainer = us;
    plainer.setNumberOptions(QLocale::OmitGroupSeparator);
    EXPECT_EQ(FormatNumber(99900.45f, true, false, plainer), QStringLiteral("99,900.45"));
}

TEST(LoanText, LoanDates)
{
    EXPECT_EQ(FormatLoanDate(COleDateTime(2002, 3, 5), true, us), QStringLiteral("Mar 5, 2002"));
    EXPECT_EQ(FormatLoanDate(COleDateTime(2022, 12, 15), true, us), QStringLiteral("Dec 15, 2022"));
    EXPECT_EQ(FormatLoanDate(COleDateTime(2002, 2, 28), false, us),
              us.toString(QDate(2002, 2, 28), QLocale::ShortFormat));
    EXPECT_TRUE(FormatLoanDate(COleDateTime::invalidDate(), true, us).isEmpty());
    EXPECT_TRUE(FormatLoanDate(COleDateTime(std::nan("")), false, us).isEmpty());
}

} // namespace
