#include <gtest/gtest.h>

#include "startup/regional.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

struct DateCase {
    const char* locale;
    std::tm time;
    const char* expected;
};

TEST(RegionalDates, GeneralDateKeepsTheCenturyAndDropsMidnight) {
    const DateCase cases[] = {
        // C.UTF-8's short date has a two-digit year: ISO 8601 instead.
        {"C.UTF-8", At(2026, 12, 6, 14, 5, 9), "2026-12-06 14:05:09"},
        {"C.UTF-8", At(2026, 12, 6, 0, 0, 0), "2026-12-06"},
        {"C.UTF-8", At(2027, 1, 7, 0, 0, 1), "2027-01-07 00:00:01"},
        {"de_DE.UTF-8", At(2026, 12, 6, 14, 5, 9), "06.12.2026 14:05:09"},
        {"de_DE.UTF-8", At(2026, 12, 6, 0, 0, 0), "06.12.2026"},
    };
    for (const auto& c : cases) {
        test::ScopedLocale locale(c.locale);
        if (!locale.Available()) {
            ADD_FAILURE() << "locale " << c.locale << " is not installed (scripts/install-deps makes it)";
            continue;
        }
        EXPECT_EQ(FormatGeneralDate(c.time), c.expected) << c.locale;
    }
}

struct NumberCase {
    const char* text;
    std::optional<double> expected;
};

TEST(RegionalNumbers, ReadsWholeTextAsOneNumberWithThePointLocale) {
    test::ScopedLocale locale("C.UTF-8");
    ASSERT_TRUE(locale.Available());
    const NumberCase cases[] = {
        {"30", 30.0},      {" 30 ", 30.0},  {"\t-2.5", -2.5}, {"+7.9", 7.9},   {"1e3", 1000.0},
        {"2.5E-1", 0.25},  {".5", 0.5},     {"5.", 5.0},      {"", std::nullopt},
        {"  ", std::nullopt}, {"abc", std::nullopt}, {"30abc", std::nullopt}, {"3 0", std::nullopt},
        {"0x10", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt}, {"1e", std::nullopt},
        {"-", std::nullopt}, {".", std::nullopt}, {"2,5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(RegionalNumbers, FollowTheLocaleDecimalSeparator) {
    test::ScopedLocale locale("de_DE.UTF-8");
    if (!locale.Available()) GTEST_FAIL() << "de_DE.UTF-8 is not installed (scripts/install-deps makes it)";
    EXPECT_EQ(ReadNumber("2,5"), 2.5);
    EXPECT_EQ(ReadNumber("-7,9"), -7.9);
    EXPECT_EQ(ReadNumber("2.5"), std::nullopt);
    EXPECT_EQ(FormatNumber(2.5), "2,5");
    EXPECT_EQ(FormatNumber(-1234567.0), "-1234567");
}

TEST(RegionalNumbers, FormatsOrdinaryNumbersPlainly) {
    test::ScopedLocale locale("C.UTF-8");
    ASSERT_TRUE(locale.Available());
    EXPECT_EQ(FormatNumber(0), "0");
    EXPECT_EQ(FormatNumber(42), "42");
    EXPECT_EQ(FormatNumber(2147483648.0), "2147483648");
    EXPECT_EQ(FormatNumber(0.1), "0.1");
    EXPECT_EQ(FormatNumber(-3.25), "-3.25");
}

}  // namespace
}  // namespace sorvane
