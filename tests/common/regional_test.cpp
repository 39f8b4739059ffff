#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "common/regional.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

// The general date is shown with FieldText (csv_field_test) in both locales.
TEST(RegionalNumbers, ReadsWholeTextAsOneNumberWithThePointLocale) {
    test::ScopedLocale locale("C.UTF-8");
    ASSERT_TRUE(locale.Available());
    const std::pair<const char*, std::optional<double>> cases[] = {
        {" 30 ", 30.0},        {"\t-2.5", -2.5},    {"+7.9", 7.9},         {"2.5E-1", 0.25},   {".5", 0.5},
        {"5.", 5.0},           {"", std::nullopt},  {"  ", std::nullopt},  {"30abc", std::nullopt},
        {"3 0", std::nullopt}, {"0x10", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt},
        {"1e", std::nullopt},  {"-", std::nullopt},  {".", std::nullopt},   {"2,5", std::nullopt},
    };
    for (const auto& [text, number] : cases) EXPECT_EQ(ReadNumber(text), number) << '"' << text << '"';
}

// Every number reads back from its text in the same locale.
TEST(RegionalNumbers, FormatAndReadFollowTheLocaleDecimalSeparator) {
    const std::tuple<const char*, double, const char*> cases[] = {
        {"C.UTF-8", 0, "0"},           {"C.UTF-8", 2147483648.0, "2147483648"}, {"C.UTF-8", 0.1, "0.1"},
        {"C.UTF-8", -3.25, "-3.25"},   {"de_DE.UTF-8", 2.5, "2,5"},             {"de_DE.UTF-8", -7.9, "-7,9"},
        {"de_DE.UTF-8", -1234567.0, "-1234567"}};
    for (const auto& [localeName, number, text] : cases) {
        test::ScopedLocale locale(localeName);
        ASSERT_TRUE(locale.Available()) << localeName << " is not installed (scripts/install-deps makes it)";
        EXPECT_EQ(FormatNumber(number), text);
        EXPECT_EQ(ReadNumber(text), number) << text;
    }
    test::ScopedLocale german("de_DE.UTF-8");
    EXPECT_EQ(ReadNumber("2.5"), std::nullopt);
}

}  // namespace
}  // namespace sorvane
