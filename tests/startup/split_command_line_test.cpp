#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "startup/split_command_line.h"

namespace sorvane {
namespace {

using Slots = std::vector<std::string>;

TEST(SplitCommandLine, FillsSlotZeroThenTheArgumentsUpToTheMaximum) {
    struct Case {
        std::string rawText;
        std::optional<std::int16_t> maximum;
        Slots expected;
    };
    std::string overLong;
    Slots capped{""};
    for (int i = 1; i <= 23; ++i) {
        overLong += "a" + std::to_string(i) + " ";
        if (i <= kDefaultMaximumArguments) capped.push_back("a" + std::to_string(i));
    }
    const Case cases[] = {
        {"", {}, {""}}, {" \t  \t", {}, {""}}, {"\"\"\"\"\"", {}, {""}},
        {"a \"\" b", {}, {"", "a", "b"}}, {"  a \t\t b  ", {}, {"", "a", "b"}},
        {"-dsn=\"My   DSN\"", {}, {"", "-dsn=My   DSN"}},
        {"a \" b\"", {}, {"", "a ", "b"}},
        {"\"  \" x", {}, {"  ", "x"}},
        {"\"a\tb\"", {}, {"", "a b"}},
        {"x \"a b\tc", {}, {"", "x", "a b c"}},
        {"a b", std::int16_t{0}, {""}}, {"a b", std::int16_t{-3}, {""}},
        {"a b c d", std::int16_t{2}, {"", "a", "b"}},
        {"ab\"c d\" \" \" e", std::int16_t{1}, {"", "abc d "}},
        {overLong + "\"x y\"", {}, capped},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.rawText, c.maximum), c.expected) << "[" << c.rawText << "]";
    }
}

TEST(BuildRawCommandLine, JoinsAndQuotesArgumentsWithBlanks) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"sorvane"}, ""},
        {{"sorvane", "-ndays 30", "-dsn=My DSN"}, "\"-ndays 30\" \"-dsn=My DSN\""},
        {{"sorvane", "a\tb", "c"}, "\"a\tb\" c"},
        {{"sorvane", "a", "", "b"}, "a  b"},
    };
    for (const auto& [argv, rawText] : cases) {
        EXPECT_EQ(BuildRawCommandLine(static_cast<int>(argv.size()), argv.data()), rawText);
    }
}

}  // namespace
}  // namespace sorvane
