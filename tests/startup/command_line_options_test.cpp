#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>
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

using Texts = std::vector<std::string>;

Texts Fields(const PurgeSettings& s) {
    auto text = [](const NumberOrText& v) {
        return std::holds_alternative<int>(v) ? std::to_string(std::get<int>(v)) : "'" + std::get<std::string>(v) + "'";
    };
    return {"days=" + std::to_string(s.days), "dsn=" + s.dsn, "table=" + s.tableName, "user=" + s.userName,
            "pass=" + s.password, "trip=" + std::to_string(s.recordsPerTrip), "timecol=" + s.timeColumn,
            "sep=" + s.separator, "esc=" + s.escapeText, "filename=" + s.fileName, "fileex=" + s.fileExtension,
            "delete=" + std::to_string(s.deleteRows), "backup=" + std::to_string(s.backupRows),
            "filepath=" + s.filePath, "overwrite=" + text(s.overwrite), "includedate=" + text(s.includeDate),
            "mode=" + std::to_string(s.commandLineMode)};
}

// Runs the option table in a fresh current folder, where debug.log lands.
class OptionsTest : public ::testing::Test {
protected:
    void TearDown() override { debugEnabled = 0; }

    PurgeSettings Read(const std::string& commandLine) {
        PurgeSettings settings;
        ReadCommandLineOptions(SplitCommandLine(commandLine), settings, [this] { ++manualPages_; });
        return settings;
    }

    int manualPages_ = 0;
    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

// Expected: the fields that differ from the defaults, the manual pages asked
// for, whether -debug took effect, and what debug.log got after the time stamp.
TEST_F(OptionsTest, EachArgumentSetsExactlyItsFields) {
    const std::pair<std::string, std::string> cases[] = {
        {"-dsn=EventsDB -ndays=30 -backup=1 -delete=1 -filepath=D:\\archive -includedate=1 -debug",
         "days=30 dsn=EventsDB delete=-1 backup=-1 filepath=D:\\archive includedate='1' debug "},
        {"-table=Log -user=me -pass=secret -sep=; -esc=' -filename=old -fileex=.txt -overwrite=1",
         "table=Log user=me pass=secret sep=; esc=' filename=old fileex=.txt overwrite='1' "},
        {"-ndays:30 -dsn/x", "days=30 dsn=x "},
        {"\"-ndays 30\" -dsn=a -dsn=b", "days=30 dsn=b "},
        {"-ndays 30 -DSN=x -Debug -H foo --bar /x", ""},
        {"-table= -sep", "table= sep= "},
        {"-dsn=my-host -h -help", "dsn=my-host manual=3 "},
        {"x-dsn=abc", "dsn==abc "},
        {"-filepath=/srv/x-debug-help", "filepath=/srv/x-debug-help manual=1 debug "},
        {"-includedate=yes -overwrite=", "overwrite='' includedate='yes' "},
        {"-timecol=DeviceReportedTime -timecol=receivedat -timecol=Other", "timecol=DeviceReportedTime "},
        {"-ndays=-2.5 -delrecpertrip=7.9", "days=-3 trip=7 "},
        {"\"-ndays= +1.5e2 \"", "days=150 "},
        {"-ndays=-32768 -delrecpertrip=32767.99", "days=-32768 trip=32767 "},
        {"-ndays=12 -ndays=abc -ndays= -delrecpertrip=1O -delrecpertrip -debug", "days=12 debug "},
        {"-debug -ndays=abc", "debug : The Value for ndays must be numeric!\r\n"},
        {"-debug -timecol=receivedat",
         "debug : -timecol must have one of the following Options: ReceivedAt/DeviceReportedTime !\r\n"},
        {"-backup=TRUE -delete=0.5", "delete=-1 backup=-1 "},
        {"-backup=-1 -backup=False -delete=tRuE -delete=0.0", ""},
    };
    const Texts defaults = Fields(PurgeSettings{});
    for (const auto& [commandLine, expected] : cases) {
        manualPages_ = 0;
        debugEnabled = 0;
        std::filesystem::remove(dir_.Path() / "debug.log");
        const Texts fields = Fields(Read(commandLine));
        std::string outcome;
        for (std::size_t i = 0; i < fields.size(); ++i) outcome += fields[i] != defaults[i] ? fields[i] + " " : "";
        if (manualPages_ > 0) outcome += "manual=" + std::to_string(manualPages_) + " ";
        if (debugEnabled == -1) outcome += "debug ";
        const std::string log = test::ReadWholeFile(dir_.Path() / "debug.log");
        EXPECT_EQ(std::filesystem::exists(dir_.Path() / "debug.log"), !log.empty()) << commandLine;
        EXPECT_EQ(outcome + log.substr(std::min(log.find(": "), log.size())), expected) << commandLine;
    }
}

TEST_F(OptionsTest, BadValuesRaiseARunFailureAndStopTheLaterArguments) {
    const std::pair<const char*, long> cases[] = {{"-backup", kTypeMismatch}, {"-delete=1x", kTypeMismatch},
                                                  {"-ndays=32768", kOverflow}, {"-ndays=-32768.5", kOverflow},
                                                  {"-delrecpertrip=1e10", kOverflow}};
    for (const auto& [commandLine, number] : cases) {
        try {
            Read(commandLine);
            ADD_FAILURE() << commandLine << " raised nothing";
        } catch (const RunFailure& failure) {
            EXPECT_EQ(failure.Number(), number) << commandLine;
            EXPECT_NE(failure.Description().find(number == kOverflow ? "range" : "true, false or a number"),
                      std::string::npos) << failure.Description();
        }
    }
    PurgeSettings settings;
    EXPECT_THROW(ReadCommandLineOptions(SplitCommandLine("-dsn=a -backup=yes -dsn=b"), settings, {}), RunFailure);
    EXPECT_EQ(settings.dsn, "a");
}

TEST_F(OptionsTest, CallsTheYieldBeforeEverySlotIncludingSlotZero) {
    PurgeSettings settings;
    Texts seen;
    ReadCommandLineOptions(SplitCommandLine("\" \"-dsn=x -ndays=3"), settings, {}, [&] { seen.push_back(settings.dsn); });
    EXPECT_EQ(seen, (Texts{"", "", "x"}));
}

// With a decimal comma the point no longer makes a number.
TEST_F(OptionsTest, NumbersFollowTheLocaleDecimalSeparator) {
    test::ScopedLocale german("de_DE.UTF-8");
    if (!german.Available()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(Read("-ndays=12,5 -ndays=12.5").days, 12);
    EXPECT_EQ(Read("-delete=0,5").deleteRows, kTrue16);
    EXPECT_THROW(Read("-delete=0.5"), RunFailure);
}

}  // namespace
}  // namespace sorvane
