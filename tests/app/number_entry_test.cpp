#include "widgets/number_entry.h"

#include <gtest/gtest.h>

namespace {

TEST(NumberEntry, ReadsDecimalNumbersOnly)
{
    const struct
    {
        const char *text;
        std::optional<float> value;
    } cases[] = {
        { "1e3", 1000.0f },  { "12.50", 12.5f }, { "-3", -3.0f },     { "+0.25", 0.25f },
        { ".5", 0.5f },      { "5.", 5.0f },     { "  42  ", 42.0f }, { "", {} },
        { "2.5E-1", 0.25f }, { "12,50", {} },    { "1,000", {} },     { "abc", {} },
        { "12abc", {} },     { "1e", {} },       { "e3", {} },        { "--1", {} },
        { "1.2.3", {} },     { "0x10", {} },     { "1e39", {} },      { "inf", {} },
        { "nan", {} },       { "- 1", {} },       { "   ", {} },
    };
    for (const auto &c : cases) {
        const std::optional<float> got = NumberEntry::read(QString::fromLatin1(c.text));
        EXPECT_EQ(got.has_value(), c.value.has_value()) << c.text;
        if (got && c.value) {
            EXPECT_FLOAT_EQ(*got, *c.value) << c.text;
        }
    }
}

TEST(NumberEntry, ShowsSixSignificantDigitsAndExponentsFromAMillion)
{
    const struct
    {
        float value;
        const char *text;
    } cases[] = {
        { 0.0f, "0" },           { 12.5f, "12.5" },       { 0.1f, "0.1" },
        { 999999.0f, "999999" }, { 1000000.0f, "1e+06" }, { 1234567.0f, "1.23457e+06" },
        { -45.25f, "-45.25" },   { 1234.56f, "1234.56" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberEntry::text(c.value).toStdString(), c.text);
}

} // namespace
