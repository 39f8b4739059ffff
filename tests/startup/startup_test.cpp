#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "common/run_failure.h"
#include "common/run_log.h"
#include "startup/echoing_event_log.h"
#include "startup/status_line.h"
#include "startup/startup.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

using Lines = std::vector<std::string>;

// What one run reported to the event log and did with the manual page and the purge.
struct Recorder : EventLogSink, ManualPageSink {
    bool Write(std::int32_t type, const std::string& message, std::int16_t id, std::int16_t category) override {
        EXPECT_EQ(std::tuple(type, id, category), std::tuple(1, 26, 26)) << message;
        events.push_back(message);
        return true;
    }
    void AppendLine(const std::string&) override { ++appended; }
    void Show() override { ++shows; }
    void WaitUntilClosed() override { ++waits; }
    Lines events;
    std::size_t appended = 0;
    int purges = 0, shows = 0, waits = 0;
};

const std::string kMissingDsn = "The following parameters are missing: -dsn";
const std::string kRuntime = "Runtime error during program execution  - run time error ";

const std::string kRefusedFoo =
    "Refused argument 1, \"foo\": it names no option (option names start the argument; letter case matters)";

struct StartupCase {
    Lines arguments;
    std::exception_ptr purgeFailure;  // what the purge raises
    std::size_t manualLines;          // lines of the manual page (0: missing)
    int exitStatus;
    Lines events;
    int purges;
    int pagesShown;
};

// Each run in a fresh current folder where debug.log cannot be written: any
// write without -debug would fail the run.
TEST(Startup, ExitStatusEventLogAndManualPageFollowTheRun) {
    test::ScopedLocale locale("C.UTF-8");
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.Path());
    std::filesystem::create_directory(dir.Path() / "debug.log");
    const StartupCase cases[] = {
        {{"foo"}, {}, 1, 2, {kRefusedFoo}, 0, 0},
        {{"-dsn=x"}, {}, 1, 0, {}, 1, 0},
        {{"-dsn=x"}, std::make_exception_ptr(RunFailure(4242, "no table")), 1, 1, {kRuntime + "4242 - no table"}, 1, 0},
        {{"-dsn=x"}, std::make_exception_ptr(std::runtime_error("odd")), 1, 1, {kRuntime + "51 - odd"}, 1, 0},
        {{"-h"}, {}, 32767, 2, {kMissingDsn}, 0, 1},
        {{"-h", "-dsn=x"}, {}, 1, 0, {}, 1, 1},
        // A refused command line shows no manual page and runs nothing.
        {{"-h", "-dsn=x", "-Ndays=30"}, {}, 1, 2,
         {"Refused argument 3, \"-Ndays=30\": it names no option (option names start the argument; letter case matters)"},
         0, 0},
        {{"-h", "-dsn=x"}, {}, 0, 1,
         {kRuntime + "53 - The manual page sorvane-manpage.txt is missing, empty or unreadable"}, 0, 0},
        // The 16-bit line counter overflows past line index 32767; what fits is shown first.
        {{"-h", "-dsn=x"}, {}, 32768, 1,
         {kRuntime + "6 - The manual page has 32768 lines or more; only its first 32768 lines are shown"}, 0, 1},
        // The event log gets the report even when debug.log is what fails.
        {{"-debug", "-dsn=x"}, {}, 1, 1, {kRuntime + "75 - Cannot write debug.log: Is a directory"}, 0, 0},
        {{"-debug", "-h"}, {}, 1, 1, {kMissingDsn, kRuntime + "75 - Cannot write debug.log: Is a directory"}, 0, 1},
        {{"foo", "-debug"}, {}, 1, 1, {kRefusedFoo, kRuntime + "75 - Cannot write debug.log: Is a directory"}, 0, 0},
    };
    for (const StartupCase& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        Recorder run;
        RunLog log(run);
        StartupServices services;
        services.loadManualPage = [&] { return c.manualLines ? std::optional(Lines(c.manualLines, "A")) : std::nullopt; };
        services.runPurge = [&](const PurgeSettings&, PurgeHost&, const RunLog&) {
            ++run.purges;
            if (c.purgeFailure) std::rethrow_exception(c.purgeFailure);
            return PurgeOutcome::Finished;
        };
        CommandLineHost host;
        const int exitStatus = RunStartup(c.arguments, run, host, log, services);
        EXPECT_EQ(std::tuple(exitStatus, run.events, run.purges, run.shows, run.appended),
                  std::tuple(c.exitStatus, c.events, c.purges, c.pagesShown,
                             std::min<std::size_t>(c.manualLines, 32768) * c.pagesShown));
        // A purge that ended ends the program; otherwise a shown page may keep it running.
        EXPECT_EQ(run.waits, exitStatus == 0 ? 0 : 1);
    }
}

// --restore=FILE hands the run to the restore with the connection and CSV
// options; its file name sets no other option, and --dry-run goes with it.
TEST(Startup, RestoreTakesTheBackupFileAndTheConnectionOptions) {
    test::ScopedLocale locale("C.UTF-8");
    using Arguments = std::vector<std::string>;
    const std::tuple<Arguments, int, const char*, bool, const char*> cases[] = {
        // arguments, exit status, file restored (or nothing), dry run, event
        {{"-dsn=x", "-sep=;", "--restore=/b/x-h-dsn=y.csv"}, 0, "/b/x-h-dsn=y.csv", false, nullptr},
        {{"--dry-run", "-dsn=x", "--restore=b.csv"}, 0, "b.csv", true, nullptr},
        {{"--restore=b.csv"}, 2, nullptr, false, "The following parameters are missing: -dsn"},
        {{"-dsn=x", "--restore"}, 2, nullptr, false, "the value of --restore must name a file"},
        {{"-dsn=x", "--restore=bad.csv"}, 1, "bad.csv", false, "7 - Line 3 of bad.csv has 8 fields"},
    };
    for (const auto& [arguments, status, file, dryRun, event] : cases) {
        SCOPED_TRACE(arguments.back());
        Recorder run;
        RunLog log(run);
        std::ostringstream output;
        std::optional<RestoreRequest> restored;
        StartupServices services;
        services.output = &output;
        services.runPurge = [&](const PurgeSettings&, PurgeHost&, const RunLog&) {
            ++run.purges;
            return PurgeOutcome::Finished;
        };
        services.runRestore = [&](const RestoreRequest& request, PurgeHost&, const RunLog&) {
            restored = request;
            if (request.file == "bad.csv") throw RunFailure(7, "Line 3 of bad.csv has 8 fields");
            return RestoreReport{5, 3, 2, false};
        };
        CommandLineHost host;
        EXPECT_EQ(RunStartup(arguments, run, host, log, services), status);
        EXPECT_EQ(run.purges + run.shows, 0);
        ASSERT_EQ(restored.has_value(), file != nullptr);
        if (file) {
            EXPECT_EQ(std::tuple(restored->file, restored->dryRun, restored->settings.dsn), std::tuple(file, dryRun, "x"));
            EXPECT_EQ(restored->settings.separator, arguments[1] == "-sep=;" ? ";" : ",");
        }
        if (status == 0) {
            EXPECT_NE(output.str().find(std::string("restore of ") + file + " into SystemEvents: 5 rows read, 3 "),
                      std::string::npos) << output.str();
        }
        ASSERT_EQ(run.events.size(), event ? 1u : 0u);
        if (event) {
            EXPECT_NE(run.events[0].find(event), std::string::npos) << run.events[0];
        }
    }
}

// A command-line run's event log: every entry in the system log, the errors
// also on standard error at once; the warnings only when asked for (a run
// stopped by a signal), so a run that ends well stays silent.
TEST(EchoingEventLog, RepeatsErrorsAtOnceAndWarningsOnlyWhenAsked) {
    struct : EventLogSink {
        bool Write(std::int32_t type, const std::string& message, std::int16_t, std::int16_t) override {
            seen.push_back(std::to_string(type) + " " + message);
            return true;
        }
        Lines seen;
    } systemLog;
    std::ostringstream echo;
    // A progress line on the same stream is ended before an echoed line.
    StatusLine progress(echo, 0);
    EchoingEventLog eventLog(systemLog, echo, &progress);
    progress.Show("1/2 batches");
    const std::pair<int, std::string> entries[] = {{1, kMissingDsn}, {2, "exported again"}, {1, kRuntime + "1 - x"}};
    for (const auto& [type, message] : entries) eventLog.Write(type, message, 26, 26);
    EXPECT_EQ(systemLog.seen, (Lines{"1 " + kMissingDsn, "2 exported again", "1 " + kRuntime + "1 - x"}));
    const std::string errors = "\r1/2 batches\n" + kMissingDsn + "\n" + kRuntime + "1 - x\n";
    EXPECT_EQ(echo.str(), errors);
    progress.Show("2/2 batches");
    eventLog.EchoHeldWarnings();
    eventLog.EchoHeldWarnings();
    EXPECT_EQ(echo.str(), errors + "\r2/2 batches\nexported again\n");
}

}  // namespace
}  // namespace sorvane
