#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "startup/split_command_line.h"

namespace sorvane {
namespace {

using Slots = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string rawText;
    std::optional<std::int16_t> maximum;
    Slots expected;  // slot 0 first
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << "[" << c.rawText << "]"; }

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheExpectedSlots) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitCommandLine(c.rawText, c.maximum), c.expected) << "raw text: [" << c.rawText << "]";
}

Slots Numbered(int count) {
    Slots slots{""};
    for (int i = 1; i <= count; ++i) slots.push_back("a" + std::to_string(i));
    return slots;
}

std::string NumberedText(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += (i > 1 ? " " : "") + std::string("a") + std::to_string(i);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitCommandLineTest,
    ::testing::Values(
        SplitCase{"Empty", "", std::nullopt, {""}},
        SplitCase{"OnlyBlanksAndTabs", " \t  \t", std::nullopt, {""}},
        SplitCase{"OnlyQuotes", "\"\"\"\"\"", std::nullopt, {""}},
        SplitCase{"EmptyQuotePairBetweenArguments", "a \"\" b", std::nullopt, {"", "a", "b"}},
        SplitCase{"RunsOfSeparators", "  a \t\t b  ", std::nullopt, {"", "a", "b"}},
        SplitCase{"QuotedValueInsideWord", "-dsn=\"My DSN\"", std::nullopt, {"", "-dsn=My DSN"}},
        SplitCase{"QuotesWithoutOuterBlanks", "ab\" \"cd", std::nullopt, {"", "ab cd"}},
        SplitCase{"QuotedBlankJoinsPreviousArgument", "a \" b\"", std::nullopt, {"", "a ", "b"}},
        SplitCase{"QuotedBlanksBeforeFirstArgumentGoToSlotZero", "\"  \" x", std::nullopt, {"  ", "x"}},
        SplitCase{"EveryQuotedBlankKept", "\"a   b\"", std::nullopt, {"", "a   b"}},
        SplitCase{"QuotedTabBecomesBlank", "\"a\tb\"", std::nullopt, {"", "a b"}},
        SplitCase{"UnclosedQuoteRunsToTheEnd", "x \"a b\tc", std::nullopt, {"", "x", "a b c"}},
        SplitCase{"MaximumZero", "a b", std::int16_t{0}, {""}},
        SplitCase{"NegativeMaximumActsAsZero", "a b", std::int16_t{-3}, {""}},
        SplitCase{"MaximumCutsFurtherArguments", "a b c d", std::int16_t{2}, {"", "a", "b"}},
        SplitCase{"CappedArgumentKeepsItsQuotedTail", "ab\"c d\" \" \" e", std::int16_t{1}, {"", "abc d "}},
        SplitCase{"DefaultCapOf22", NumberedText(23) + " \"x y\"", std::nullopt, Numbered(22)},
        SplitCase{"WorkedExample",
                  "-dsn=EventsDB -ndays=30 -backup=1 -delete=1 -filepath=D:\\archive -includedate=1 -debug",
                  std::nullopt,
                  {"", "-dsn=EventsDB", "-ndays=30", "-backup=1", "-delete=1", "-filepath=D:\\archive",
                   "-includedate=1", "-debug"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

struct RebuildCase {
    const char* name;
    std::vector<const char*> argv;  // program name first
    std::string rawText;
};

void PrintTo(const RebuildCase& c, std::ostream* os) { *os << c.name; }

class BuildRawCommandLineTest : public ::testing::TestWithParam<RebuildCase> {};

TEST_P(BuildRawCommandLineTest, JoinsAndQuotesArgumentsWithBlanks) {
    const RebuildCase& c = GetParam();
    EXPECT_EQ(BuildRawCommandLine(static_cast<int>(c.argv.size()), c.argv.data()), c.rawText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildRawCommandLineTest,
    ::testing::Values(RebuildCase{"NoArguments", {"sorvane"}, ""},
                      RebuildCase{"PlainArguments", {"sorvane", "-dsn=x", "-ndays=5"}, "-dsn=x -ndays=5"},
                      RebuildCase{"BlankInsideArgument", {"sorvane", "-ndays 30", "-dsn=My DSN"},
                                  "\"-ndays 30\" \"-dsn=My DSN\""},
                      RebuildCase{"TabInsideArgument", {"sorvane", "a\tb", "c"}, "\"a\tb\" c"},
                      RebuildCase{"EmptyArgumentKeepsItsSeparator", {"sorvane", "a", "", "b"}, "a  b"}),
    [](const ::testing::TestParamInfo<RebuildCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace sorvane
