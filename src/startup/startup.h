#pragma once
// A command-line run from its split arguments to its exit status.

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
//   1  the start-up error handler caught a failure (bad option value, missing
//      manual page, unwritable debug.log, any failure of the purge run);
//   2  no -dsn was given, so no purge ran (also for a lone -h);
//   128 + N  signal N (SIGINT, SIGTERM or SIGHUP) stopped the run between two
//      batches (130, 143, 129), as a shell reports a program ended by it.
constexpr int kExitPurgeEnded = 0;
constexpr int kExitRunFailure = 1;
constexpr int kExitDsnMissing = 2;
constexpr int kExitStoppedBySignal = 128;

using PurgeRunner = std::function<PurgeOutcome(const PurgeSettings&, PurgeHost&, const RunLog&)>;
using RestoreRunner = std::function<RestoreReport(const RestoreRequest&, PurgeHost&, const RunLog&)>;

// What a command-line run calls outside start-up; replaceable in tests.
struct StartupServices {
    PurgeRunner runPurge = RunPurge;
    ManualPageLoader loadManualPage = LoadManualPage;
    RestoreRunner runRestore = RunRestore;
    std::ostream* output = &std::cout;  // where a restore says what it did
};

// argumentList is SplitCommandLine's result holding at least one argument.
// Reads the options, then runs the purge (or, with --restore=FILE, the
// restore of that backup file) when -dsn was given, or reports the
// missing -dsn to the event log and the debug log. Every failure is caught
// here, written to the event log (type 1, ID 26, category 26) and the debug
// log, and ends the run. When no purge ended the program (statuses 1 and 2),
// manual.WaitUntilClosed() lets a shown manual page keep the program alive.
// `log` is the run's: -debug turns its debug log on. While the purge runs,
// SIGINT, SIGTERM and SIGHUP ask it through `host` to stop between two
// batches.
int RunStartup(const std::vector<std::string>& argumentList, ManualPageSink& manual, CommandLineHost& host,
               RunLog& log, const StartupServices& services = {});

}  // namespace sorvane
