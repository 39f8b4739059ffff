#include "startup/startup.h"

#include <exception>
#include <iostream>

#include "common/run_failure.h"
#include "purge/dry_run.h"
#include "purge/dry_run_report.h"
#include "startup/command_line_options.h"
#include "startup/long_options.h"
#include "startup/process_signals.h"
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

// The rejected value's own debug-log line comes where reading the argument
// met it, so only after an earlier -debug; the refusal itself reaches the
// debug log whenever -debug was given.
int ReportRefusal(const Refusal& refusal, RunLog& log) {
    if (refusal.debugBefore && !refusal.rejectedValueNote.empty()) {
        log.EnableDebug();
        log.WriteDebugLog(refusal.rejectedValueNote);
    }
    log.WriteEventLogEntry(kErrorEventType, refusal.message, kStartupEventId, kStartupEventCategory);
    if (refusal.debugGiven) {
        log.EnableDebug();
        log.WriteDebugLog(refusal.message);
    }
    return kExitRefused;
}

int RunRestoreCommand(const RestoreRequest& request, CommandLineHost& host, const RunLog& log,
                      const StartupServices& services) {
    if (!services.runRestore) throw RunFailure(kInvalidArgument, "No restore is available");
    const StopSignals stopSignals(host.Stop());
    const RestoreReport report = services.runRestore(request, host, log);
    if (services.output) *services.output << "sorvane: restore of " << RestoreSummary(request, report) << std::endl;
    return report.stopped ? kExitStoppedBySignal + host.StopSignal() : kExitPurgeEnded;
}

int RunCommandLine(const std::vector<std::string>& arguments, ManualPageSink& manual, CommandLineHost& host,
                   RunLog& log, const StartupServices& services) {
    const CommandLineReading reading = ReadCommandLine(arguments);
    if (reading.refusal) return ReportRefusal(*reading.refusal, log);

    PurgeSettings settings;
    settings.commandLineMode = 1;
    const ShowManualPage showManualPage = [&] { ShowManualPageIn(manual, services.loadManualPage); };
    LongOptions longOptions;
    OptionTarget target{settings, longOptions, log, showManualPage};
    ApplyOptions(reading.uses, target, [&] { manual.Yield(); });

    if (settings.dsn.empty()) {
        log.WriteEventLogEntry(kErrorEventType, kDsnMissingMessage, kStartupEventId, kStartupEventCategory);
        log.WriteDebugLog(kDsnMissingMessage);
        return kExitDsnMissing;
    }

    if (longOptions.restoreFile) {
        return RunRestoreCommand({settings, *longOptions.restoreFile, longOptions.dryRun}, host, log, services);
    }

    log.WriteDebugLog("ConSorvane was started successfully");
    if (longOptions.dryRun) {
        if (!services.dryRun) throw RunFailure(kInvalidArgument, "No dry run is available");
        std::cout << services.dryRun(settings, log) << std::flush;
        return kExitPurgeEnded;
    }
    if (!services.runPurge) throw RunFailure(kInvalidArgument, "No purge run is available");
    host.StartRun(settings, log, longOptions.progress);
    const StopSignals stopSignals(host.Stop());
    if (services.runPurge(settings, host, log) == PurgeOutcome::Stopped) {
        return kExitStoppedBySignal + host.StopSignal();
    }
    return kExitPurgeEnded;
}

}  // namespace

std::string DryRunReport(const PurgeSettings& settings, const RunLog& log) {
    return FormatDryRunReport(DryRun(settings, log));
}

int RunStartup(const std::vector<std::string>& arguments, ManualPageSink& manual, CommandLineHost& host,
               RunLog& log, const StartupServices& services) {
    int status = kExitRunFailure;
    try {
        status = RunCommandLine(arguments, manual, host, log, services);
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
