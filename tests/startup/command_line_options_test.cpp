#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "purge/purge_settings.h"
#include "purge/run_failure.h"
#include "startup/command_line_options.h"
#include "startup/reporting.h"
#include "startup/split_command_line.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

auto Fields(const PurgeSettings& s) {
    return std::tie(s.days, s.dsn, s.tableName, s.userName, s.password, s.recordsPerTrip, s.timeColumn,
                    s.separator, s.escapeText, s.fileName, s.fileExtension, s.deleteRows, s.backupRows,
                    s.filePath, s.overwrite, s.includeDate, s.commandLineMode);
}

std::string Describe(const PurgeSettings& s) {
    auto text = [](const NumberOrText& v) {
        return std::holds_alternative<int>(v) ? std::to_string(std::get<int>(v)) : "'" + std::get<std::string>(v) + "'";
    };
    std::string d;
    for (const std::string& t : {std::to_string(s.days), s.dsn, s.tableName, s.userName, s.password,
                                 std::to_string(s.recordsPerTrip), s.timeColumn, s.separator, s.escapeText,
                                 s.fileName, s.fileExtension, std::to_string(s.deleteRows),
                                 std::to_string(s.backupRows), s.filePath, text(s.overwrite), text(s.includeDate)})
        d += "[" + t + "] ";
    return d;
}

// Runs the option table over a typed command line in a fresh temporary
// folder (debug.log lands there) with debug logging off at the start.
class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { debugEnabled = 0; }
    void TearDown() override { debugEnabled = 0; }

    PurgeSettings Read(const std::string& commandLine) {
        PurgeSettings settings;
        ReadCommandLineOptions(SplitCommandLine(commandLine), settings, [this] { ++manualPages_; });
        return settings;
    }

    std::string DebugLog() const { return test::ReadWholeFile(dir_.Path() / "debug.log"); }

    int manualPages_ = 0;
    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

struct OptionCase {
    const char* name;
    std::string commandLine;
    std::function<void(PurgeSettings&)> expectedChanges;  // applied to the defaults
    int manualPages = 0;
    bool debugOn = false;
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.commandLine; }

class OptionTableTest : public OptionsTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionTableTest, SetsExactlyTheExpectedFields) {
    const OptionCase& c = GetParam();
    const PurgeSettings settings = Read(c.commandLine);
    PurgeSettings expected;
    if (c.expectedChanges) c.expectedChanges(expected);
    EXPECT_TRUE(Fields(settings) == Fields(expected)) << "got      " << Describe(settings) << "\nexpected "
                                                       << Describe(expected);
    EXPECT_EQ(manualPages_, c.manualPages);
    EXPECT_EQ(debugEnabled, c.debugOn ? -1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Matching, OptionTableTest,
    ::testing::Values(
        OptionCase{"WorkedExample",
                   "-dsn=EventsDB -ndays=30 -backup=1 -delete=1 -filepath=D:\\archive -includedate=1 -debug",
                   [](PurgeSettings& s) {
                       s.dsn = "EventsDB";
                       s.days = 30;
                       s.backupRows = kTrue16;
                       s.deleteRows = kTrue16;
                       s.filePath = "D:\\archive";
                       s.includeDate = std::string("1");
                   },
                   0, true},
        OptionCase{"EveryTextOption",
                   "-table=Log -user=me -pass=secret -sep=; -esc=' -filename=old -fileex=.txt -overwrite=1",
                   [](PurgeSettings& s) {
                       s.tableName = "Log";
                       s.userName = "me";
                       s.password = "secret";
                       s.separator = ";";
                       s.escapeText = "'";
                       s.fileName = "old";
                       s.fileExtension = ".txt";
                       s.overwrite = std::string("1");
                   }},
        OptionCase{"AnySeparatorCharacter", "-ndays:30 -dsn/x", [](PurgeSettings& s) { s.days = 30, s.dsn = "x"; }},
        OptionCase{"ValueAsSeparateArgumentIsLost", "-ndays 30", nullptr},
        OptionCase{"QuotedBlankActsAsSeparator", "\"-ndays 30\"", [](PurgeSettings& s) { s.days = 30; }},
        OptionCase{"LetterCaseMatters", "-DSN=x -Debug -H", nullptr},
        OptionCase{"LastOneWins", "-dsn=a -dsn=b", [](PurgeSettings& s) { s.dsn = "b"; }},
        OptionCase{"EmptyValue", "-table= -sep", [](PurgeSettings& s) { s.tableName = "", s.separator = ""; }},
        OptionCase{"HostNameAlsoAsksForTheManual", "-dsn=my-host", [](PurgeSettings& s) { s.dsn = "my-host"; }, 1},
        OptionCase{"EachHelpArgumentShowsTheManual", "-h -help", nullptr, 2},
        OptionCase{"NameInsideArgumentReadsFromTheFixedPosition", "x-dsn=abc",
                   [](PurgeSettings& s) { s.dsn = "=abc"; }},
        OptionCase{"OneArgumentSetsSeveralOptions", "-filepath=/srv/x-debug-help",
                   [](PurgeSettings& s) { s.filePath = "/srv/x-debug-help"; }, 1, true},
        OptionCase{"IncludeDateKeepsTheTypedText", "-includedate=yes -overwrite=",
                   [](PurgeSettings& s) { s.includeDate = std::string("yes"), s.overwrite = std::string(); }},
        OptionCase{"UnknownArgumentsAreIgnored", "foo --bar /x", nullptr},
        OptionCase{"TimeColumnAccepted", "-timecol=DeviceReportedTime",
                   [](PurgeSettings& s) { s.timeColumn = "DeviceReportedTime"; }},
        OptionCase{"TimeColumnNeedsExactCase", "-timecol=receivedat -timecol=devicereportedtime", nullptr},
        OptionCase{"TimeColumnRejectionKeepsEarlierValue", "-timecol=DeviceReportedTime -timecol=Other",
                   [](PurgeSettings& s) { s.timeColumn = "DeviceReportedTime"; }}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Numbers, OptionTableTest,
    ::testing::Values(
        OptionCase{"FloorNotRounding", "-ndays=7.9", [](PurgeSettings& s) { s.days = 7; }},
        OptionCase{"FloorOfNegative", "-ndays=-2.5", [](PurgeSettings& s) { s.days = -3; }},
        OptionCase{"BlanksSignAndExponent", "\"-ndays= +1.5e2 \"", [](PurgeSettings& s) { s.days = 150; }},
        OptionCase{"RangeEdges", "-ndays=-32768 -delrecpertrip=32767.99",
                   [](PurgeSettings& s) { s.days = -32768, s.recordsPerTrip = 32767; }},
        OptionCase{"NotNumericKeepsValue", "-ndays=12 -ndays=abc -delrecpertrip=1O",
                   [](PurgeSettings& s) { s.days = 12; }},
        OptionCase{"EmptyIsNotANumber", "-ndays= -delrecpertrip", nullptr},
        OptionCase{"RecordsPerTripBelowOnePassesHere", "-delrecpertrip=0",
                   [](PurgeSettings& s) { s.recordsPerTrip = 0; }}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Booleans, OptionTableTest,
    ::testing::Values(
        OptionCase{"WordsInAnyCase", "-backup=TRUE -delete=tRuE", [](PurgeSettings& s) {
                       s.backupRows = kTrue16, s.deleteRows = kTrue16; }},
        OptionCase{"FalseWord", "-backup=1 -backup=False", nullptr},
        OptionCase{"NonZeroNumbersAreTrue", "-backup=-1 -delete=0.5",
                   [](PurgeSettings& s) { s.backupRows = kTrue16, s.deleteRows = kTrue16; }},
        OptionCase{"ZeroIsFalse", "-backup=1 -backup=0 -delete=1 -delete=0.0", nullptr}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* commandLine;
    long number;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.commandLine; }

class OptionFailureTest : public OptionsTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OptionFailureTest, RaisesARunFailureWithADescription) {
    const FailureCase& c = GetParam();
    try {
        Read(c.commandLine);
        ADD_FAILURE() << c.commandLine << " raised nothing";
    } catch (const RunFailure& failure) {
        EXPECT_EQ(failure.Number(), c.number) << c.commandLine;
        EXPECT_NE(failure.Description().find(c.number == kOverflow ? "range" : "true, false or a number"),
                  std::string::npos)
            << failure.Description();
    }
}

INSTANTIATE_TEST_SUITE_P(Values, OptionFailureTest,
                         ::testing::Values(FailureCase{"-backup", kTypeMismatch},
                                           FailureCase{"-backup=yes", kTypeMismatch},
                                           FailureCase{"-delete=", kTypeMismatch},
                                           FailureCase{"-delete=1x", kTypeMismatch},
                                           FailureCase{"-ndays=100000", kOverflow},
                                           FailureCase{"-ndays=32768", kOverflow},
                                           FailureCase{"-ndays=-32768.5", kOverflow},
                                           FailureCase{"-delrecpertrip=1e10", kOverflow}));

TEST_F(OptionsTest, FailureStopsTheLaterArguments) {
    PurgeSettings settings;
    EXPECT_THROW(ReadCommandLineOptions(SplitCommandLine("-dsn=a -backup=yes -dsn=b"), settings, {}), RunFailure);
    EXPECT_EQ(settings.dsn, "a");
}

TEST_F(OptionsTest, CallsTheYieldBeforeEverySlotIncludingSlotZero) {
    PurgeSettings settings;
    std::vector<std::string> seen;
    const std::vector<std::string> slots = SplitCommandLine("\" \"-dsn=x -ndays=3");
    ReadCommandLineOptions(slots, settings, {}, [&] { seen.push_back(settings.dsn); });
    EXPECT_EQ(seen, (std::vector<std::string>{"", "", "x"}));
}

struct DebugLineCase {
    const char* commandLine;
    const char* expectedLine;  // nullptr: no debug.log at all
};

void PrintTo(const DebugLineCase& c, std::ostream* os) { *os << c.commandLine; }

class RejectedValueTraceTest : public OptionsTest, public ::testing::WithParamInterface<DebugLineCase> {};

TEST_P(RejectedValueTraceTest, TracesOnlyOnceDebugIsOn) {
    const DebugLineCase& c = GetParam();
    Read(c.commandLine);
    if (c.expectedLine == nullptr) {
        EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "debug.log"));
        return;
    }
    const std::string log = DebugLog();
    const std::string suffix = std::string(": ") + c.expectedLine + "\r\n";
    ASSERT_GE(log.size(), suffix.size()) << log;
    EXPECT_EQ(log.substr(log.size() - suffix.size()), suffix) << log;
    EXPECT_EQ(log.find("\r\n"), log.size() - 2) << "one line only: " << log;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RejectedValueTraceTest,
    ::testing::Values(
        DebugLineCase{"-ndays=abc -debug", nullptr},
        DebugLineCase{"-debug -ndays=abc", "The Value for ndays must be numeric!"},
        DebugLineCase{"-debug -delrecpertrip=", "The Value for delrecpertrip must be numeric!"},
        DebugLineCase{"-debug -timecol=receivedat",
                      "-timecol must have one of the following Options: ReceivedAt/DeviceReportedTime !"},
        DebugLineCase{"-debug -ndays=5 -timecol=ReceivedAt", nullptr}));

// A locale with a decimal comma reads numbers with the comma, and the point
// no longer makes a number.
TEST_F(OptionsTest, NumbersFollowTheLocaleDecimalSeparator) {
    test::ScopedLocale german("de_DE.UTF-8");
    if (!german.Available()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(Read("-ndays=12,5").days, 12);
    EXPECT_EQ(Read("-ndays=12.5").days, 7);
    EXPECT_EQ(Read("-backup=0,0").backupRows, kFalse16);
    EXPECT_EQ(Read("-delete=0,5").deleteRows, kTrue16);
    EXPECT_THROW(Read("-delete=0.5"), RunFailure);
}

}  // namespace
}  // namespace sorvane
