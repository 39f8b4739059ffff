#include "purge/run_purge.h"

#include <optional>

#include "common/run_failure.h"
#include "common/run_log.h"
#include "odbc/statement.h"
#include "purge/batch_walk.h"
#include "purge/batch_work.h"
#include "purge/connection_text.h"
#include "purge/count_and_elapsed_text.h"
#include "purge/cut_off.h"
#include "purge/old_id_range.h"
#include "purge/priority.h"
#include "purge/session_time_zone.h"
#include "purge/write_set_limit.h"

namespace sorvane {

namespace {

constexpr std::int32_t kWarningEventType = 2;
constexpr std::int16_t kStopEventId = 27;
constexpr std::int16_t kStopEventCategory = 26;

struct CutOff {
    std::string literal;  // the ODBC timestamp escape of its midnight
    ClientTimeZone zone;
};

CutOff WorkOutCutOff(const PurgeSettings& settings, const RunClock& clock, const RunLog& log) {
    const std::tm today = LocalTime(clock.Now());
    CutOff cutOff{BuildCutOffLiteral(settings.days, today), {}};
    log.WriteDebugLog("Prepared timestamp: " + cutOff.literal);
    std::tm cutOffDay = CutOffDay(settings.days, today);
    cutOff.zone = FindClientTimeZone(std::mktime(&cutOffDay));
    return cutOff;
}

PurgeOutcome NoRowsFound(PurgeHost& host, const RunLog& log) {
    log.WriteDebugLog("No Data available");
    host.NoRowsFound();
    return PurgeOutcome::NoData;
}

// A stop is no failure (the data is consistent), but a scheduler's log
// should show that the purge did not get through.
PurgeOutcome Stopped(const RunLog& log, int signal, std::int64_t batchesDone) {
    const std::string message = "Run interrupted by signal " + std::to_string(signal) + " after " +
                                std::to_string(batchesDone) + (batchesDone == 1 ? " batch" : " batches");
    log.WriteEventLogEntry(kWarningEventType, message, kStopEventId, kStopEventCategory);
    log.WriteDebugLog(message);
    return PurgeOutcome::Stopped;
}

std::string ElapsedSince(std::time_t start, const RunClock& clock) {
    return FormatElapsed(static_cast<std::int64_t>(clock.Now() - start));
}

// What the run has done so far, in real rows, for the host's figures.
RunTally Tally(const BatchWalk& walk, const BatchWork& work) {
    RunTally tally;
    tally.batchesDone = walk.BatchesWalked();
    tally.batchesTotal = walk.BatchesInRange();
    tally.rowsDeleted = work.RowsDeleted();
    tally.rowsBackedUp = work.RowsBackedUp();
    return tally;
}

PurgeOutcome Finished(const PurgeSettings& settings, PurgeHost& host, const RunLog& log, const RunClock& clock,
                      std::time_t start, const BatchWalk& walk, const BatchWork& work) {
    host.BatchesDone();
    log.WriteDebugLog("About " + FormatSignedCount(walk.Counter()) + " records deleteted in " +
                      ElapsedSince(start, clock));
    RunTally tally = Tally(walk, work);
    tally.backupFiles = work.BackupFiles();
    host.RunTallied(tally);
    host.RunFinished(walk.Counter(), ElapsedSince(start, clock), settings.deleteRows != 0);
    return PurgeOutcome::Finished;
}

}  // namespace

PurgeOutcome RunPurge(const PurgeSettings& settings, PurgeHost& host, const RunLog& log) {
    return RunPurgeWithClock(settings, host, log, SystemRunClock());
}

PurgeOutcome RunPurgeWithClock(const PurgeSettings& settings, PurgeHost& host, const RunLog& log,
                               const RunClock& clock) {
    CheckRunSettings(settings);
    LowerRunPriority(log);
    const CutOff cutOff = WorkOutCutOff(settings, clock, log);
    odbc::Connection connection(BuildConnectionText(settings.dsn, settings.userName, settings.password));
    SetSessionTimeZone(connection, cutOff.zone);
    if (settings.deleteRows != 0) CheckWriteSetLimit(connection, settings.recordsPerTrip);
    const std::optional<OldIdRange> range = FindOldIdRange(connection, settings, cutOff.literal);
    if (!range) return NoRowsFound(host, log);
    log.WriteDebugLog("MinID = " + std::to_string(range->minId) + "; MaxID = " + std::to_string(range->maxId));
    log.WriteDebugLog("Start deleting");
    BatchWork work(settings, connection, cutOff.literal, cutOff.zone, host, log, clock);

    host.BatchesStarting();
    const std::time_t start = clock.Now();
    BatchWalk walk(range->minId, range->maxId, settings.recordsPerTrip, work.HighestOldId());
    while (!walk.AtEnd()) {
        // Between two batches only: an export of the next batch under way is
        // waited for as the run returns (see ExportAhead), never deleted.
        if (const int signal = host.StopSignal(); signal != 0) return Stopped(log, signal, walk.BatchesRun());
        host.Yield();
        const Batch batch = walk.Next();
        walk.Done(work.Run(batch, walk));
        host.BatchDone(walk.Counter());
        host.BatchTallied(Tally(walk, work));
    }
    work.Finish();
    return Finished(settings, host, log, clock, start, walk, work);
}

}  // namespace sorvane
