#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "purge/run_failure.h"
#include "startup/reporting.h"
#include "startup/split_command_line.h"
#include "startup/startup.h"
#include "startup/stdout_manual_page_sink.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Lines = std::vector<std::string>;

struct EventEntry {
    std::int32_t type;
    std::string message;
    std::int16_t id;
    std::int16_t category;
};

class RecordingEventLog : public EventLogSink {
public:
    bool Write(std::int32_t eventType, const std::string& message, std::int16_t eventId,
               std::int16_t category) override {
        entries.push_back({eventType, message, eventId, category});
        return true;
    }
    std::vector<EventEntry> entries;
};

class RecordingManualSink : public ManualPageSink {
public:
    void AppendLine(const std::string& line) override { appended.push_back(line); }
    void Show() override { ++shows; }
    void Yield() override { ++yields; }
    void WaitUntilClosed() override { ++waits; }
    Lines appended;
    int shows = 0;
    int yields = 0;
    int waits = 0;
};

enum class PurgeBehaviour { Finishes, FindsNoData, FailsWithRunFailure, FailsWithOtherException };

struct StartupCase {
    const char* name;
    std::string commandLine;
    PurgeBehaviour purge = PurgeBehaviour::Finishes;
    std::optional<Lines> manualPage = Lines{"SORVANE", ""};
    int expectedStatus = 0;
    std::vector<std::string> expectedEvents;  // messages, in order
    bool purgeRuns = false;
    int manualShows = 0;
};

constexpr const char* kMissingDsn = "The following parameters are missing: -dsn";
constexpr const char* kRuntimePrefix = "Runtime error during program execution  - run time error ";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        debugEnabled = 0;
        SetEventLogSink(&eventLog_);
    }
    void TearDown() override {
        SetEventLogSink(nullptr);
        debugEnabled = 0;
    }

    int Run(const std::string& commandLine, PurgeBehaviour behaviour, std::optional<Lines> manualPage) {
        StartupServices services;
        services.loadManualPage = [manualPage] { return manualPage; };
        services.runPurge = [this, behaviour](const PurgeSettings& settings, PurgeHost&) {
            purgedWith_.push_back(settings);
            debugLogAtPurge_ = test::ReadWholeFile(dir_.Path() / "debug.log");
            switch (behaviour) {
                case PurgeBehaviour::FindsNoData: return PurgeOutcome::NoData;
                case PurgeBehaviour::FailsWithRunFailure: throw RunFailure(4242, "Table 'x' doesn't exist");
                case PurgeBehaviour::FailsWithOtherException: throw std::runtime_error("out of sorts");
                case PurgeBehaviour::Finishes: break;
            }
            return PurgeOutcome::Finished;
        };
        PurgeHost host;
        return RunStartup(SplitCommandLine(commandLine), manual_, host, services);
    }

    std::vector<std::string> EventMessages() const {
        std::vector<std::string> messages;
        for (const EventEntry& entry : eventLog_.entries) messages.push_back(entry.message);
        return messages;
    }

    std::string DebugLog() const { return test::ReadWholeFile(dir_.Path() / "debug.log"); }

    RecordingEventLog eventLog_;
    RecordingManualSink manual_;
    std::vector<PurgeSettings> purgedWith_;
    std::string debugLogAtPurge_;
    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.commandLine; }

class StartupPathTest : public StartupTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupPathTest, ReportsAndEndsAsExpected) {
    const StartupCase& c = GetParam();
    const int status = Run(c.commandLine, c.purge, c.manualPage);

    EXPECT_EQ(status, c.expectedStatus);
    ASSERT_EQ(eventLog_.entries.size(), c.expectedEvents.size()) << ::testing::PrintToString(EventMessages());
    for (std::size_t i = 0; i < c.expectedEvents.size(); ++i) {
        const EventEntry& entry = eventLog_.entries[i];
        EXPECT_EQ(entry.message, c.expectedEvents[i]);
        EXPECT_EQ(entry.type, 1);
        EXPECT_EQ(entry.id, 26);
        EXPECT_EQ(entry.category, 26);
    }
    EXPECT_EQ(purgedWith_.size(), c.purgeRuns ? 1u : 0u);
    EXPECT_EQ(manual_.shows, c.manualShows);
    EXPECT_EQ(manual_.appended.size(), c.manualShows * (c.manualPage ? c.manualPage->size() : 0));
    // A purge that ended ends the program; otherwise a shown manual page may
    // keep it running.
    EXPECT_EQ(manual_.waits, status == kExitPurgeEnded ? 0 : 1);
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "debug.log")) << "written without -debug";
}

const std::string kOverflowEvent = std::string(kRuntimePrefix) + "6 - The value of -ndays (100000) is outside the range -32768 to 32767";
const std::string kBadBooleanEvent =
    std::string(kRuntimePrefix) + "13 - The value of -backup must be true, false or a number, not \"yes\"";
const std::string kNoManualEvent =
    std::string(kRuntimePrefix) + "53 - The manual page sorvane-manpage.txt is missing, empty or unreadable";

INSTANTIATE_TEST_SUITE_P(
    Paths, StartupPathTest,
    ::testing::Values(
        StartupCase{"UnknownArgumentMeansMissingDsn", "foo", {}, {}, kExitDsnMissing, {kMissingDsn}},
        StartupCase{"WrongCaseDsnIsMissing", "-DSN=x", {}, {}, kExitDsnMissing, {kMissingDsn}},
        StartupCase{"PurgeFinishes", "-dsn=x", PurgeBehaviour::Finishes, {}, kExitPurgeEnded, {}, true},
        StartupCase{"PurgeFindsNoRows", "-dsn=x", PurgeBehaviour::FindsNoData, {}, kExitPurgeEnded, {}, true},
        StartupCase{"PurgeFailure", "-dsn=x", PurgeBehaviour::FailsWithRunFailure, {}, kExitRunFailure,
                    {std::string(kRuntimePrefix) + "4242 - Table 'x' doesn't exist"}, true},
        StartupCase{"OtherException", "-dsn=x", PurgeBehaviour::FailsWithOtherException, {}, kExitRunFailure,
                    {std::string(kRuntimePrefix) + "51 - out of sorts"}, true},
        StartupCase{"BadBooleanStopsBeforePurge", "-dsn=x -backup=yes", {}, {}, kExitRunFailure,
                    {kBadBooleanEvent}},
        StartupCase{"OverflowStopsBeforePurge", "-ndays=100000 -dsn=x", {}, {}, kExitRunFailure, {kOverflowEvent}},
        StartupCase{"ManualAloneAlsoMissesDsn", "-h", {}, Lines{"SORVANE", ""}, kExitDsnMissing, {kMissingDsn},
                    false, 1},
        StartupCase{"ManualThenPurge", "-h -dsn=x", {}, Lines{"SORVANE", ""}, kExitPurgeEnded, {}, true, 1},
        StartupCase{"ManualTwiceInOneRun", "-h -help -dsn=x", {}, Lines{"A", "B", "C"}, kExitPurgeEnded, {}, true,
                    2},
        StartupCase{"MissingManualStopsEvenWithDsn", "-h -dsn=x", {}, std::nullopt, kExitRunFailure,
                    {kNoManualEvent}},
        StartupCase{"HostNameAsksForMissingManual", "-dsn=my-host", {}, std::nullopt, kExitRunFailure,
                    {kNoManualEvent}}),
    [](const ::testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST_F(StartupTest, FailureEndsTheArgumentLoopAtOnce) {
    const int status = Run("-ndays=100000 -debug -dsn=x", PurgeBehaviour::Finishes, std::nullopt);
    EXPECT_EQ(status, kExitRunFailure);
    EXPECT_EQ(manual_.yields, 2);  // slot 0 and the failing slot 1
    EXPECT_EQ(debugEnabled, 0);
    EXPECT_TRUE(purgedWith_.empty());
}

TEST_F(StartupTest, HandsTheFilledRecordToThePurgeInCommandLineMode) {
    ASSERT_EQ(Run("-dsn=EventsDB -ndays=30 -backup=1", PurgeBehaviour::Finishes, std::nullopt), kExitPurgeEnded);
    ASSERT_EQ(purgedWith_.size(), 1u);
    EXPECT_EQ(purgedWith_[0].commandLineMode, 1);
    EXPECT_EQ(purgedWith_[0].dsn, "EventsDB");
    EXPECT_EQ(purgedWith_[0].days, 30);
    EXPECT_EQ(purgedWith_[0].backupRows, kTrue16);
    EXPECT_EQ(manual_.yields, 4);  // slot 0 and three arguments
}

// Every report of a run with -debug, in order, after "<date and time>: ".
struct DebugRunCase {
    const char* commandLine;
    PurgeBehaviour purge;
    std::vector<std::string> expectedMessages;
};

TEST_F(StartupTest, DebugLogFollowsTheRun) {
    const std::vector<DebugRunCase> cases = {
        {"-debug foo", PurgeBehaviour::Finishes, {kMissingDsn}},
        {"-debug -dsn=x", PurgeBehaviour::Finishes, {"ConSorvane was started successfully"}},
        {"-debug -dsn=x", PurgeBehaviour::FailsWithRunFailure,
         {"ConSorvane was started successfully", std::string(kRuntimePrefix) + "4242 - Table 'x' doesn't exist"}},
        {"-debug -ndays=abc -dsn=x -backup=yes", PurgeBehaviour::Finishes,
         {"The Value for ndays must be numeric!", kBadBooleanEvent}},
    };
    for (const DebugRunCase& c : cases) {
        std::filesystem::remove(dir_.Path() / "debug.log");
        debugEnabled = 0;
        Run(c.commandLine, c.purge, std::nullopt);
        std::string expected;
        for (const std::string& message : c.expectedMessages) expected += ": " + message + "\r\n";
        std::string log = DebugLog();
        // Drop the time stamps, which the reporting tests cover.
        std::string messagesOnly;
        for (std::size_t start = 0; start < log.size();) {
            const std::size_t end = log.find("\r\n", start);
            const std::string line = log.substr(start, end - start);
            messagesOnly += line.substr(line.find(": ")) + "\r\n";
            start = end + 2;
        }
        EXPECT_EQ(messagesOnly, expected) << c.commandLine;
    }
}

TEST_F(StartupTest, StartLineIsWrittenBeforeThePurgeRuns) {
    Run("-debug -dsn=x", PurgeBehaviour::Finishes, std::nullopt);
    EXPECT_NE(debugLogAtPurge_.find(": ConSorvane was started successfully\r\n"), std::string::npos);
}

// The handler reports to the event log even when the debug log is what fails,
// and a failing debug write inside the handler ends nothing worse.
TEST_F(StartupTest, UnwritableDebugLogIsReportedToTheEventLog) {
    std::filesystem::create_directory(dir_.Path() / "debug.log");
    for (const char* commandLine : {"-debug -dsn=x", "-debug foo"}) {
        eventLog_.entries.clear();
        purgedWith_.clear();
        EXPECT_EQ(Run(commandLine, PurgeBehaviour::Finishes, std::nullopt), kExitRunFailure) << commandLine;
        EXPECT_TRUE(purgedWith_.empty());
        const std::vector<std::string> messages = EventMessages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back().rfind(std::string(kRuntimePrefix) + "75 - Cannot write debug.log", 0), 0u)
            << messages.back();
    }
}

TEST(StdoutManualPageSink, PrintsEachShownPageOnceAndNothingUnshown) {
    std::ostringstream out;
    StdoutManualPageSink sink(out);
    sink.AppendLine("NAME");
    sink.AppendLine("");
    sink.Show();
    sink.AppendLine("NAME");
    sink.Show();
    sink.AppendLine("never shown");
    EXPECT_EQ(out.str(), "NAME\n\nNAME\n");
}

}  // namespace
}  // namespace sorvane
