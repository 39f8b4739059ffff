#include "startup/startup.h"

#include <exception>

#include "common/run_failure.h"
#include "startup/command_line_options.h"
#include "startup/process_signals.h"
#include "startup/restore_arguments.h"
#include "common/run_log.h"

namespace sorvane {

namespace {

constexpr std::int32_t kErrorEventType = 1;
constexpr std::int16_t kStartupEventId = 26;
constexpr std::int16_t kStartupEventCategory = 26;

// Number given to failures that are not the program's own RunFailure (for
// example memory exhaustion inside a library).
constexpr long kInternalErrorNumber = 51;

constexpr const char* kDsnMissingMessage = "The following parameters are missing: -dsn";

// The start-up error handler: event log first, so that the entry is written
// even when the debug log is what failed.
void ReportStartupFailure(const RunLog& log, long number, const std::string& description) {
    const std::string message = "Runtime error during program execution  - run time error " +
                                std::to_string(number) + " - " + description;
    log.WriteEventLogEntry(kErrorEventType, message, kStartupEventId, kStartupEventCategory);
    try {
        log.WriteDebugLog(message);
    } catch (...) {
        // Nowhere is left to report that the debug log failed as well.
    }
}

int RunRestoreCommand(const RestoreRequest& request, CommandLineHost& host, const RunLog& log,
                      const StartupServices& services) {
    if (!services.runRestore) throw RunFailure(kInvalidArgument, "No restore is available");
    const StopSignals stopSignals(host.Stop());
    const RestoreReport report = services.runRestore(request, host, log);
    if (services.output) *services.output << "sorvane: restore of " << RestoreSummary(request, report) << std::endl;
    return report.stopped ? kExitStoppedBySignal + host.StopSignal() : kExitPurgeEnded;
}

int RunCommandLine(const std::vector<std::string>& argumentList, ManualPageSink& manual, CommandLineHost& host,
                   RunLog& log, const StartupServices& services) {
    PurgeSettings settings;
    settings.commandLineMode = 1;

    std::vector<std::string> purgeArguments = argumentList;
    const RestoreArguments restore = TakeRestoreArguments(purgeArguments);
    ReadCommandLineOptions(
        purgeArguments, settings, log, [&] { ShowManualPageIn(manual, services.loadManualPage); },
        [&] { manual.Yield(); });

    if (settings.dsn.empty()) {
        log.WriteEventLogEntry(kErrorEventType, kDsnMissingMessage, kStartupEventId, kStartupEventCategory);
        log.WriteDebugLog(kDsnMissingMessage);
        return kExitDsnMissing;
    }

    if (restore.file) return RunRestoreCommand({settings, *restore.file, restore.dryRun}, host, log, services);
    if (restore.dryRun) throw RunFailure(kInvalidArgument, "--dry-run is known only together with --restore");

    log.WriteDebugLog("ConSorvane was started successfully");
    if (!services.runPurge) throw RunFailure(kInvalidArgument, "No purge run is available");
    const StopSignals stopSignals(host.Stop());
    if (services.runPurge(settings, host, log) == PurgeOutcome::Stopped) {
        return kExitStoppedBySignal + host.StopSignal();
    }
    return kExitPurgeEnded;
}

}  // namespace

int RunStartup(const std::vector<std::string>& argumentList, ManualPageSink& manual, CommandLineHost& host,
               RunLog& log, const StartupServices& services) {
    int status = kExitRunFailure;
    try {
        status = RunCommandLine(argumentList, manual, host, log, services);
    } catch (const RunFailure& failure) {
        ReportStartupFailure(log, failure.Number(), failure.Description());
    } catch (const std::exception& failure) {
        ReportStartupFailure(log, kInternalErrorNumber, failure.what());
    }
    // A finished purge ends the program at once; otherwise an open manual
    // page keeps it running until the user closes it.
    if (status == kExitRunFailure || status == kExitDsnMissing) manual.WaitUntilClosed();
    return status;
}

}  // namespace sorvane
