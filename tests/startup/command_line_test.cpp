// The command line from its raw text through the option table to the settings.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "purge/purge_settings.h"
#include "common/run_failure.h"
#include "startup/command_line_options.h"
#include "common/run_log.h"
#include "startup/split_command_line.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Texts = std::vector<std::string>;

TEST(SplitCommandLine, FillsSlotZeroThenTheArgumentsUpToTheMaximum) {
    std::string overLong;  // 22 arguments, then one too many
    Texts capped{""};
    for (char c = 'a'; c < 'a' + kDefaultMaximumArguments; ++c) {
        overLong += std::string{c, ' '};
        capped.push_back({c});
    }
    const std::tuple<std::string, std::optional<std::int16_t>, Texts> cases[] = {
        {"", {}, {""}}, {" \t  \t", {}, {""}}, {"\"\"\"\"\"", {}, {""}}, {"a \"\" b", {}, {"", "a", "b"}},
        {"  a \t\t b  ", {}, {"", "a", "b"}}, {"-dsn=\"My   DSN\"", {}, {"", "-dsn=My   DSN"}},
        {"a \" b\"", {}, {"", "a ", "b"}}, {"\"  \" x", {}, {"  ", "x"}}, {"\"a\tb\"", {}, {"", "a b"}},
        {"x \"a b\tc", {}, {"", "x", "a b c"}}, {"a b", std::int16_t{0}, {""}}, {"a b", std::int16_t{-3}, {""}},
        {"a b c d", std::int16_t{2}, {"", "a", "b"}}, {"ab\"c d\" \" \" e", std::int16_t{1}, {"", "abc d "}},
        {overLong + "\"x y\"", {}, capped},
    };
    for (const auto& [rawText, maximum, slots] : cases) EXPECT_EQ(SplitCommandLine(rawText, maximum), slots) << rawText;
}

TEST(BuildRawCommandLine, JoinsAndQuotesArgumentsWithBlanks) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"sorvane"}, ""}, {{"sorvane", "a\tb", "c"}, "\"a\tb\" c"}, {{"sorvane", "a", "", "b"}, "a  b"},
        {{"sorvane", "-ndays 30", "-dsn=My DSN"}, "\"-ndays 30\" \"-dsn=My DSN\""}};
    for (const auto& [argv, rawText] : cases) EXPECT_EQ(BuildRawCommandLine(int(argv.size()), argv.data()), rawText);
}

Texts Fields(const PurgeSettings& s, int manualPages, bool debug) {
    auto text = [](const auto& v) { return v.index() ? "'" + std::get<1>(v) + "'" : std::to_string(std::get<0>(v)); };
    return {"days=" + std::to_string(s.days), "dsn=" + s.dsn, "table=" + s.tableName, "user=" + s.userName,
            "pass=" + s.password, "trip=" + std::to_string(s.recordsPerTrip), "timecol=" + s.timeColumn,
            "sep=" + s.separator, "esc=" + s.escapeText, "filename=" + s.fileName, "fileex=" + s.fileExtension,
            "delete=" + std::to_string(s.deleteRows), "backup=" + std::to_string(s.backupRows),
            "filepath=" + s.filePath, "overwrite=" + text(s.overwrite), "includedate=" + text(s.includeDate),
            "mode=" + std::to_string(s.commandLineMode), "manual=" + std::to_string(manualPages),
            "debug=" + std::to_string(debug ? -1 : 0)};
}

// A fresh current folder for debug.log; regional_test covers numbers in other locales.
class OptionsTest : public ::testing::Test {
protected:
    // A failure, the fields that differ from the defaults (manual pages asked
    // for and -debug included), and debug.log after its time stamp.
    std::string Outcome(const std::string& commandLine) {
        std::filesystem::remove("debug.log");
        const Texts defaults = Fields(PurgeSettings{}, 0, false);
        RunLog runLog;
        PurgeSettings settings;
        int manualPages = 0;
        std::string outcome;
        try {
            ReadCommandLineOptions(SplitCommandLine(commandLine), settings, runLog, [&] { ++manualPages; });
        } catch (const RunFailure& failure) {
            outcome = "failure " + std::to_string(failure.Number()) + ": " + failure.Description() + " ";
        }
        const Texts fields = Fields(settings, manualPages, runLog.DebugEnabled());
        for (std::size_t i = 0; i < fields.size(); ++i) outcome += fields[i] != defaults[i] ? fields[i] + " " : "";
        const std::string log = test::ReadWholeFile("debug.log");
        EXPECT_EQ(std::filesystem::exists("debug.log"), !log.empty()) << commandLine;
        return outcome + log.substr(std::min(log.find(": "), log.size()));
    }

    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

TEST_F(OptionsTest, EachArgumentSetsExactlyItsFields) {
    const std::pair<std::string, std::string> cases[] = {
        {"-dsn=EventsDB -ndays=30 -backup=1 -delete=1 -filepath=D:\\archive -includedate=1 -debug",
         "days=30 dsn=EventsDB delete=-1 backup=-1 filepath=D:\\archive includedate='1' debug=-1 "},
        {"-table=Log -user=me -pass=secret -sep=; -esc=' -filename=old -fileex=.txt -overwrite=1",
         "table=Log user=me pass=secret sep=; esc=' filename=old fileex=.txt overwrite='1' "},
        {"-ndays:30 -dsn/x", "days=30 dsn=x "}, {"\"-ndays 30\" -dsn=a -dsn=b", "days=30 dsn=b "},
        {"-ndays 30 -DSN=x -Debug -H foo --bar /x", ""}, {"-table= -sep", "table= sep= "},
        {"-dsn=my-host -h -help", "dsn=my-host manual=3 "}, {"x-dsn=abc", "dsn==abc "},
        {"-filepath=/srv/x-debug-help", "filepath=/srv/x-debug-help manual=1 debug=-1 "},
        // A password argument sets the password alone, whatever option names it holds.
        {"-pass=horse-table-staple -pass=x-delete-debug-h \"-pass=kiwi-user-lamp9 Tr0ub4dor-sep;X9\"",
         "pass=kiwi-user-lamp9 Tr0ub4dor-sep;X9 "},
        {"-debug -pass=-ndays=abc-delete=1x", "pass=-ndays=abc-delete=1x debug=-1 "},
        {"-includedate=yes -overwrite=", "overwrite='' includedate='yes' "},
        {"-timecol=DeviceReportedTime -timecol=receivedat -timecol=Other", "timecol=DeviceReportedTime "},
        {"-ndays=-2.5 -delrecpertrip=7.9", "days=-3 trip=7 "}, {"\"-ndays= +1.5e2 \"", "days=150 "},
        {"-ndays=-32768 -delrecpertrip=2147483647.99", "days=-32768 trip=2147483647 "},
        {"-ndays=12 -ndays=abc -ndays= -delrecpertrip=1O -delrecpertrip -debug", "days=12 debug=-1 "},
        {"-debug -ndays=abc", "debug=-1 : The Value for ndays must be numeric!\r\n"},
        {"-debug -timecol=receivedat",
         "debug=-1 : -timecol must have one of the following Options: ReceivedAt/DeviceReportedTime !\r\n"},
        {"-backup=TRUE -delete=0.5", "delete=-1 backup=-1 "}, {"-backup=-1 -backup=False -delete=tRuE -delete=0.0", ""},
        // A failure stops the later arguments.
        {"-dsn=a -backup -dsn=b", "failure 13: The value of -backup must be true, false or a number, not \"\" dsn=a "},
        {"-delete=1x", "failure 13: The value of -delete must be true, false or a number, not \"1x\" "},
        {"-ndays=32768", "failure 6: The value of -ndays (32768) is outside the range -32768 to 32767 "},
        {"-ndays=-32768.5", "failure 6: The value of -ndays (-32768.5) is outside the range -32768 to 32767 "},
        {"-delrecpertrip=2147483648", "failure 6: The value of -delrecpertrip (2147483648) is outside the range "
                                      "-2147483648 to 2147483647 "},
    };
    for (const auto& [commandLine, expected] : cases) EXPECT_EQ(Outcome(commandLine), expected) << commandLine;
}

TEST(HidePasswordArguments, OverwritesOnlyThePasswordValue) {
    std::string arguments[] = {"sorvane", "-user=me", "-pass=se cret", "-pass", "x-pass=open"};
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    HidePasswordArguments(int(argv.size()), argv.data());
    EXPECT_EQ(Texts(std::begin(arguments), std::end(arguments)),
              (Texts{"sorvane", "-user=me", "-pass=xxxxxxx", "-pass", "x-pass=open"}));
}

}  // namespace
}  // namespace sorvane
