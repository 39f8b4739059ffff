#pragma once
// A command-line run from its arguments to its exit status.

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "common/run_log.h"
#include "purge/purge_host.h"
#include "startup/command_line_host.h"
#include "purge/purge_settings.h"
#include "purge/run_purge.h"
#include "restore/run_restore.h"
#include "common/manual_page.h"
#include "common/manual_page_sink.h"

namespace sorvane {

// Exit statuses of a command-line run, so that a scheduler can tell a failure
// from success:
//   0  the purge run finished, or found no row old enough;
//   1  the start-up error handler caught a failure (missing manual page,
//      unwritable debug.log, any failure of the purge run);
//   2  the command line was refused (an argument naming no option, a value
//      its option cannot take, too many arguments) or held no -dsn, so no
//      purge ran (also for a lone -h);
//   128 + N  signal N (SIGINT, SIGTERM or SIGHUP) stopped the run between two
//      batches (130, 143, 129), as a shell reports a program ended by it.
constexpr int kExitPurgeEnded = 0;
constexpr int kExitRunFailure = 1;
constexpr int kExitDsnMissing = 2;
constexpr int kExitRefused = 2;
constexpr int kExitStoppedBySignal = 128;

using PurgeRunner = std::function<PurgeOutcome(const PurgeSettings&, PurgeHost&, const RunLog&)>;
// A dry run of the settings, giving the report that --dry-run prints.
using DryRunner = std::function<std::string(const PurgeSettings&, const RunLog&)>;
std::string DryRunReport(const PurgeSettings& settings, const RunLog& log);
using RestoreRunner = std::function<RestoreReport(const RestoreRequest&, PurgeHost&, const RunLog&)>;

// What a command-line run calls outside start-up; replaceable in tests.
struct StartupServices {
    PurgeRunner runPurge = RunPurge;
    DryRunner dryRun = DryRunReport;
    ManualPageLoader loadManualPage = LoadManualPage;
    RestoreRunner runRestore = RunRestore;
    std::ostream* output = &std::cout;  // where a restore says what it did
};

// here, written to the event log (type 1, ID 26, category 26) and the debug
// log, and ends the run. When no purge ended the program (statuses 1 and 2),
// manual.WaitUntilClosed() lets a shown manual page keep the program alive.
// `log` is the run's: -debug turns its debug log on. While the purge runs,
// SIGINT, SIGTERM and SIGHUP ask it through `host` to stop between two
// batches; `host` shows its figures when its line is a terminal or with
// --progress.
int RunStartup(const std::vector<std::string>& arguments, ManualPageSink& manual, CommandLineHost& host,
               RunLog& log, const StartupServices& services = {});

}  // namespace sorvane
