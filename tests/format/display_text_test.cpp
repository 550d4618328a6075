#include "format/display_text.h"
#include "format/search_text.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const QLocale us(QLocale::English, QLocale::UnitedStates);
const QLocale de(QLocale::German, QLocale::Germany);

struct NumberCase
{
    float value;
    bool withDecimals;
    bool plain;
    const char *inUs;
    const char *inDe;
};

TEST(DisplayText, NumberText)
{
    const NumberCase cases[] = {
        { 1234.567f, true, false, "1,234.57", "1.234,57" },
        { 1234.567f, true, true, "1234.57", "1234.57" },
        { 1234.567f, false, false, "1,234", "1.234" },
        { 1234.567f, false, true, "1234", "1234" },
        { -5.25f, true, true, "-5", "-5" },
        { -5.25f, true, false, "-5.00", "-5,00" },
        { -3.7f, true, true, "-3", "-3" },
        { -0.4f, true, true, "0", "0" },
        { 0.4f, true, true, "0.40", "0.40" },
        { 0.4f, true, false, "0.40", "0,40" },
        { 0.4f, false, false, "0", "0" },
        { 0.0f, true, false, "0.00", "0,00" },
        { 0.005f, true, true, "0.01", "0.01" },
        // Rounded as the decimal the float stands for, carrying into the integer part.
        { 2.675f, true, true, "2.68", "2.68" },
        { 999.995f, true, false, "1,000.00", "1.000,00" },
        { 9.999f, true, true, "10.00", "10.00" },
        { 1234567.f, false, false, "1,234,567", "1.234.567" },
        { 123456.78f, true, false, "123,456.78", "123.456,78" },
        { -1234.9f, false, false, "-1,234", "-1.234" },
        // Out of the 32-bit range the whole number saturates instead of wrapping.
        { 3e9f, false, true, "2147483647", "2147483647" },
        { -3e9f, true, false, "-2,147,483,648.00", "-2.147.483.648,00" },
        { std::numeric_limits<float>::quiet_NaN(), true, false, "", "" },
        { std::numeric_limits<float>::infinity(), true, true, "", "" },
    };
    for (const NumberCase &c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.value << " decimals " << c.withDecimals << " plain " << c.plain);
        EXPECT_EQ(numberText(c.value, c.withDecimals, c.plain, us), QString::fromUtf8(c.inUs));
        EXPECT_EQ(numberText(c.value, c.withDecimals, c.plain, de), QString::fromUtf8(c.inDe));
    }
}

TEST(DisplayText, MoneyTextUsesTheLocalesCurrencyForms)
{
    const struct
    {
        float value;
        const char *inUs;
        const char *inDe;
    } cases[] = {
        { 0.0f, "$0.00", "0,00\u00a0€" },
        { 12.5f, "$12.50", "12,50\u00a0€" },
        { -12.5f, "($12.50)", "-12,50\u00a0€" },
        { 1234.567f, "$1,234.57", "1.234,57\u00a0€" },
        { 0.125f, "$0.13", "0,13\u00a0€" },
        { -0.001f, "$0.00", "0,00\u00a0€" }, // no negative zero
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(moneyText(c.value, us), QString::fromUtf8(c.inUs));
        EXPECT_EQ(moneyText(c.value, de), QString::fromUtf8(c.inDe));
    }
    EXPECT_EQ(moneyText(std::nanf(""), us), QString());
}

TEST(DisplayText, DateTextShowsTheDateOnly)
{
    const COleDateTime evening(2026, 12, 7, 18, 45, 0);
    EXPECT_EQ(dateText(evening, false, us), QStringLiteral("12/7/26"));
    EXPECT_EQ(dateText(evening, true, us), QStringLiteral("Monday, December 7, 2026"));
    EXPECT_EQ(dateText(evening, false, de), QStringLiteral("07.12.26"));
    EXPECT_EQ(dateText(evening, true, de), QStringLiteral("Montag, 7. Dezember 2026"));
    EXPECT_EQ(dateText(COleDateTime(1899, 12, 29, 6, 0, 0), true, us),
              QStringLiteral("Friday, December 29, 1899"));
    EXPECT_EQ(dateText(COleDateTime::invalidDate(), false, us), QString());
    COleDateTime null(1.0);
    null.setStatus(COleDateTime::null);
    EXPECT_EQ(dateText(null, true, us), QString());
}

TEST(DisplayText, UserLocaleIsTheDefault)
{
    // A chosen locale that cannot be the one this process started in, so that a reset that
    // did not take would show.
    const QLocale other = QLocale::system().language() == QLocale::German
        ? QLocale(QLocale::French, QLocale::France)
        : de;
    const QString otherText = other.toString(1234.57, 'f', 2);
    ASSERT_NE(QLocale::system().toString(1234.57, 'f', 2), otherText);
    setUserLocale(other);
    EXPECT_EQ(numberText(1234.567f, true, false), otherText);
    resetUserLocale();
    EXPECT_NE(numberText(1234.567f, true, false), otherText);
    EXPECT_EQ(numberText(1234.567f, true, false),
              numberText(1234.567f, true, false, QLocale::system()));
}

// Without a chosen locale the texts follow the locale the user's environment names. Checked in
// a child process started with LC_ALL=de_DE.UTF-8, since the locale is read once per process.
TEST(DisplayText, UserLocaleComesFromTheEnvironment)
{
    if (qEnvironmentVariableIsSet("DOMELIO_DISPLAY_TEXT_CHILD")) {
        EXPECT_EQ(userLocale().language(), QLocale::German);
        EXPECT_EQ(numberText(1234.567f, true, false), QStringLiteral("1.234,57"));
        EXPECT_EQ(numberText(1234.567f, false, false), QStringLiteral("1.234"));
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
    env.insert(QStringLiteral("DOMELIO_DISPLAY_TEXT_CHILD"), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")),
                { QStringLiteral("--gtest_filter=DisplayText.UserLocaleComesFromTheEnvironment") });
    ASSERT_TRUE(child.waitForFinished(60000)) << child.errorString().toStdString();
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test"))) << output.toStdString();
}

TEST(DisplayText, TermTextShowsWholeYearsAsYears)
{
    const struct
    {
        qint32 months;
        const char *number;
        int unit;
    } cases[] = { { 24, "2", TermYears },  { 18, "18", TermMonths }, { 0, "0", TermYears },
                  { 12, "1", TermYears },  { 360, "30", TermYears }, { 1, "1", TermMonths },
                  { -24, "-2", TermYears } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.months);
        const TermText shown = termText(c.months);
        EXPECT_EQ(shown.number, QString::fromLatin1(c.number));
        EXPECT_EQ(shown.unitIndex, c.unit);
        EXPECT_EQ(termMonths(shown.number, shown.unitIndex), c.months);
    }
    EXPECT_EQ(termUnitNames(), QStringList({ QStringLiteral("Months"), QStringLiteral("Years") }));
}

TEST(DisplayText, TermTextReadsLeadingDigits)
{
    const struct
    {
        const char *text;
        int unit;
        qint32 months;
    } cases[] = {
        { "3", TermYears, 36 },
        { "3", -1, 36 },
        { "3", TermMonths, 3 },
        { "18 months", TermMonths, 18 },
        { " 2", TermYears, 24 },
        { "", TermYears, 0 },
        { "abc", TermMonths, 0 },
        { "4.5", TermYears, 48 },
        { "-2", TermYears, -24 },
        { "99999999999", TermYears, std::numeric_limits<qint32>::max() },
        { "200000000", TermYears, std::numeric_limits<qint32>::max() },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(termMonths(QString::fromLatin1(c.text), c.unit), c.months);
    }
}

TEST(DisplayText, DatePickerFormat)
{
    EXPECT_EQ(QLocale::c().toString(QDate(2026, 3, 1), datePickerFormat()),
              QStringLiteral("Sun, Mar 1, 2026"));
}

TEST(SearchText, FoldsCaseAndAccentsTheWayBothSidesAreTyped)
{
    const struct
    {
        const char16_t *text;
        const char *folded;
    } cases[] = {
        { u"Café", "cafe" },
        { u"CAFÉ au LAIT", "cafe au lait" },
        { u"Cafe\u0301", "cafe" }, // the accent as a combining mark of its own
        { u"Zürich Ærøskøbing", "zurich aeroskobing" },
        { u"Straße", "strasse" },
        { u"Łódź", "lodz" },
        { u"\ufb01le", "file" }, // the ligature fi
        { u"ÉLAN Ελλάδα", "elan ελλαδα" }, // other scripts keep their letters, lose their accents
        { u"Ёлка Йод", "елка иод" }, // as Cyrillic does
        { u"Zu\u0308rich \u0395\u0301\u03bb\u03bb\u03b7", "zurich ελλη" }, // typed decomposed
        { u"GROẞ", "gross" },
        // Where marks are vowels and signs of the word (Thai, Devanagari) they stay.
        { u"ปี ปู", "ปี ปู" },
        { u"किताब की", "किताब की" },
        { u"SN-42/x", "sn-42/x" },
        { u"", "" },
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(SearchText::fold(text), QByteArray(c.folded)) << text.toStdString();
        // The texts of the data file are folded from UTF-8 by the same rules.
        QByteArray fromUtf8;
        SearchText::appendFoldedUtf8(fromUtf8, text.toUtf8().constData(), text.toUtf8().size());
        EXPECT_EQ(fromUtf8, QByteArray(c.folded)) << text.toStdString();
    }
    // A letter written whole or as its parts folds alike; marks that are letters tell words
    // apart.
    EXPECT_EQ(SearchText::fold(u"\u0958"), SearchText::fold(u"\u0915\u093c")); // क़
    EXPECT_NE(SearchText::fold(u"ปี"), SearchText::fold(u"ปู"));
    EXPECT_NE(SearchText::fold(u"कि"), SearchText::fold(u"की"));

    // Words: blanks of any kind apart, folded, each once.
    EXPECT_EQ(SearchText::words(u"  Drill\tCAFÉ  drill\u00a0cafe "),
              (QList<QByteArray> { "drill", "cafe" }));
    EXPECT_TRUE(SearchText::words(u" \t ").isEmpty());
}

} // namespace
