#pragma once
// Switches the C library's LC_NUMERIC to a locale whose decimal mark is a comma for one scope,
// as QApplication does from LC_ALL/LANG at start-up. printf-family formatting follows it;
// the analyzer's texts must not.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

class CommaNumericLocale
{
public:
    // scripts/deps generates this locale; without it setlocale fails and the test would prove
    // nothing, so the caller must check ok() and fail.
    static constexpr const char *kName = "de_DE.UTF-8";

    CommaNumericLocale()
    {
        const char *before = std::setlocale(LC_NUMERIC, nullptr);
        m_previous = before ? before : "C";
        m_ok = std::setlocale(LC_NUMERIC, kName) != nullptr;
    }
    ~CommaNumericLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    CommaNumericLocale(const CommaNumericLocale &) = delete;
    CommaNumericLocale &operator=(const CommaNumericLocale &) = delete;

    bool ok() const { return m_ok; }

private:
    std::string m_previous;
    bool m_ok = false;
};

// Use as: COMMA_NUMERIC_LOCALE(guard); — fails the test at once when the locale is missing.
#define COMMA_NUMERIC_LOCALE(name)                                                                 \
    CommaNumericLocale name;                                                                       \
    ASSERT_TRUE(name.ok()) << "setlocale(LC_NUMERIC, \"" << CommaNumericLocale::kName              \
                           << "\") failed: run scripts/deps to generate the locale";               \
    {                                                                                              \
        char probe[16];                                                                            \
        std::snprintf(probe, sizeof probe, "%3.1f", 1.5);                                          \
        ASSERT_STREQ(probe, "1,5") << "the C library's LC_NUMERIC did not switch to a comma";      \
    }
