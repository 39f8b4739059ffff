#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "purge/run_failure.h"
#include "startup/reporting.h"
#include "startup/split_command_line.h"
#include "startup/startup.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Lines = std::vector<std::string>;

class RecordingEventLog : public EventLogSink {
public:
    bool Write(std::int32_t type, const std::string& message, std::int16_t id, std::int16_t category) override {
        EXPECT_EQ(std::tuple(type, id, category), std::tuple(1, 26, 26)) << message;
        messages.push_back(message);
        return true;
    }
    Lines messages;
};

class RecordingManualSink : public ManualPageSink {
public:
    void AppendLine(const std::string&) override { ++appended; }
    void Show() override { ++shows; }
    void WaitUntilClosed() override { ++waits; }
    std::size_t appended = 0;
    int shows = 0, waits = 0;
};

enum class Purge { Finishes, FailsWithRunFailure, FailsWithOtherException };

const std::string kMissingDsn = "The following parameters are missing: -dsn";
const std::string kRuntime = "Runtime error during program execution  - run time error ";

// Each run in a fresh current folder (where debug.log lands) with fresh recorders.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { SetEventLogSink(&eventLog_); }
    void TearDown() override {
        SetEventLogSink(nullptr);
        debugEnabled = 0;
    }

    int Run(const std::string& commandLine, Purge purge = Purge::Finishes, bool manualPage = true) {
        eventLog_.messages.clear();
        manual_ = {};
        purges_ = 0;
        StartupServices services;
        services.loadManualPage = [manualPage] { return manualPage ? std::optional(Lines{"A", "B"}) : std::nullopt; };
        services.runPurge = [this, purge](const PurgeSettings&, PurgeHost&) {
            ++purges_;
            if (purge == Purge::FailsWithRunFailure) throw RunFailure(4242, "Table 'x' doesn't exist");
            if (purge == Purge::FailsWithOtherException) throw std::runtime_error("out of sorts");
            return PurgeOutcome::Finished;
        };
        PurgeHost host;
        return RunStartup(SplitCommandLine(commandLine), manual_, host, services);
    }

    RecordingEventLog eventLog_;
    RecordingManualSink manual_;
    int purges_ = 0;
    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::ScopedCurrentDir cwd_{dir_.Path()};
};

TEST_F(StartupTest, ExitStatusAndEventLogFollowTheRun) {
    struct Case {
        std::string commandLine;
        Purge purge;
        bool manualPage;
        int status;
        Lines events;
        int purges;
        int manualShows;
    };
    const Case cases[] = {
        {"foo", Purge::Finishes, true, kExitDsnMissing, {kMissingDsn}, 0, 0},
        {"-dsn=x", Purge::Finishes, true, kExitPurgeEnded, {}, 1, 0},
        {"-dsn=x", Purge::FailsWithRunFailure, true, kExitRunFailure, {kRuntime + "4242 - Table 'x' doesn't exist"}, 1, 0},
        {"-dsn=x", Purge::FailsWithOtherException, true, kExitRunFailure, {kRuntime + "51 - out of sorts"}, 1, 0},
        {"-ndays=100000 -dsn=x", Purge::Finishes, true, kExitRunFailure,
         {kRuntime + "6 - The value of -ndays (100000) is outside the range -32768 to 32767"}, 0, 0},
        {"-h", Purge::Finishes, true, kExitDsnMissing, {kMissingDsn}, 0, 1},
        {"-h -dsn=x", Purge::Finishes, true, kExitPurgeEnded, {}, 1, 1},
        {"-h -dsn=x", Purge::Finishes, false, kExitRunFailure,
         {kRuntime + "53 - The manual page sorvane-manpage.txt is missing, empty or unreadable"}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const int status = Run(c.commandLine, c.purge, c.manualPage);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(eventLog_.messages, c.events);
        EXPECT_EQ(purges_, c.purges);
        EXPECT_EQ(manual_.shows, c.manualShows);
        EXPECT_EQ(manual_.appended, c.manualShows * 2u);
        // A purge that ended ends the program; otherwise a shown page may keep it running.
        EXPECT_EQ(manual_.waits, status == kExitPurgeEnded ? 0 : 1);
        EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "debug.log")) << "written without -debug";
    }
}

// The event log gets the report even when debug.log is what fails.
TEST_F(StartupTest, UnwritableDebugLogIsReportedToTheEventLog) {
    std::filesystem::create_directory(dir_.Path() / "debug.log");
    for (const char* commandLine : {"-debug -dsn=x", "-debug foo"}) {
        EXPECT_EQ(Run(commandLine), kExitRunFailure) << commandLine;
        EXPECT_EQ(purges_, 0);
        ASSERT_FALSE(eventLog_.messages.empty());
        EXPECT_EQ(eventLog_.messages.back().rfind(kRuntime + "75 - Cannot write debug.log", 0), 0u);
    }
}

}  // namespace
}  // namespace sorvane
