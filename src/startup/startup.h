#pragma once
// A command-line run from its arguments to its exit status.

#include <functional>
#include <string>
#include <vector>

#include "common/run_log.h"
#include "purge/purge_host.h"
#include "startup/command_line_host.h"
#include "purge/purge_settings.h"
#include "purge/run_purge.h"
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

// What a command-line run calls outside start-up; replaceable in tests.
struct StartupServices {
    PurgeRunner runPurge = RunPurge;
    ManualPageLoader loadManualPage = LoadManualPage;
};

// `arguments` are the program's, without its name, as the system handed them
// over (see command_line_options.h). A refused command line is reported as
// one line to the event log (error, ID 26, category 26), and to the debug
// log when -debug is among the arguments; nothing else happens. Otherwise
// reads the options, then runs the purge when -dsn was given, or reports the
// missing -dsn to the event log and the debug log. Every failure is caught
// here, written to the event log (type 1, ID 26, category 26) and the debug
// log, and ends the run. When no purge ended the program (statuses 1 and 2),
// manual.WaitUntilClosed() lets a shown manual page keep the program alive.
// `log` is the run's: -debug turns its debug log on. While the purge runs,
// SIGINT, SIGTERM and SIGHUP ask it through `host` to stop between two
// batches.
int RunStartup(const std::vector<std::string>& arguments, ManualPageSink& manual, CommandLineHost& host,
               RunLog& log, const StartupServices& services = {});

}  // namespace sorvane
