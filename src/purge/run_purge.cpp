#include "purge/run_purge.h"

#include <algorithm>
#include <charconv>
#include <future>
#include <limits>
#include <optional>

#include "purge/backed_up_delete.h"
#include "purge/backup_file_path.h"
#include "purge/batch_arithmetic.h"
#include "purge/batch_statements.h"
#include "purge/conflict_retry.h"
#include "purge/connection_text.h"
#include "purge/cut_off.h"
#include "purge/csv_batch_export.h"
#include "odbc/connection_pool.h"
#include "odbc/statement.h"
#include "purge/priority.h"
#include "purge/session_time_zone.h"
#include "common/run_failure.h"
#include "purge/sql_identifier.h"
#include "purge/write_set_limit.h"
#include "common/run_log.h"

namespace sorvane {

namespace {

constexpr std::int32_t kWarningEventType = 2;
constexpr std::int16_t kStopEventId = 27;
constexpr std::int16_t kStopEventCategory = 26;

void CheckSettings(const PurgeSettings& settings) {
    // Without a name the driver manager falls back to a default driver and
    // leaves a stray file behind instead of saying what is wrong.
    if (settings.dsn.find_first_not_of(" \t") == std::string::npos) {
        throw RunFailure(kInvalidArgument, "No data source name (DSN) is given: nothing to connect to");
    }
    // A negative age moves the cut-off into the future: every row, even one
    // written tomorrow, would be old enough.
    if (settings.days < 0) {
        throw RunFailure(kInvalidArgument, "The age in days must be 0 or more, not " +
                                               std::to_string(settings.days));
    }
    // A width of 0 would never leave the first batch and a negative one
    // would walk upwards for ever.
    if (settings.recordsPerTrip < 1) {
        throw RunFailure(kInvalidArgument, "Records per trip must be 1 or more, not " +
                                               std::to_string(settings.recordsPerTrip));
    }
    CheckTableName(settings.tableName);
    CheckTimeColumnName(settings.timeColumn);
}

// min(id)/max(id) as a 32-bit id. Whole numbers written with a zero fraction
// ("125.0", as a REAL id column gives) are accepted; anything else is not an id.
std::int32_t ReadId(const std::string& text, const char* which) {
    std::string digits = text;
    const std::size_t point = digits.find('.');
    if (point != std::string::npos &&
        digits.find_first_not_of('0', point + 1) == std::string::npos) {
        digits.erase(point);
    }
    std::int64_t value = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range ||
        (error == std::errc() && end == last &&
         (value < std::numeric_limits<std::int32_t>::min() ||
          value > std::numeric_limits<std::int32_t>::max()))) {
        throw RunFailure(kOverflow, std::string("Overflow: the ") + which + " id " + text +
                                        " does not fit a 32-bit integer");
    }
    if (error != std::errc() || end != last || first == last) {
        throw RunFailure(kTypeMismatch, std::string("Type mismatch: the ") + which + " id \"" +
                                            text + "\" is not a whole number");
    }
    return static_cast<std::int32_t>(value);
}

struct IdRange {
    std::int32_t minId;
    std::int32_t maxId;
};

std::optional<IdRange> FindIdRange(const odbc::Connection& connection, const PurgeSettings& settings,
                                   const std::string& cutOff) {
    odbc::Statement range(connection);
    range.ExecuteDirect("SELECT min(id), max(id) FROM " + settings.tableName + " WHERE " +
                        settings.timeColumn + " <= " + cutOff);
    if (!range.Fetch()) return std::nullopt;
    const std::optional<std::string> minText = range.Text(0);
    const std::optional<std::string> maxText = range.Text(1);
    if (!minText || !maxText) return std::nullopt;
    return IdRange{ReadId(*minText, "lowest"), ReadId(*maxText, "highest")};
}

// A stop is no failure (the data is consistent), but a scheduler's log
// should show that the purge did not get through.
void ReportStop(const RunLog& log, int signal, std::int64_t batchesDone) {
    const std::string message = "Run interrupted by signal " + std::to_string(signal) + " after " +
                                std::to_string(batchesDone) + (batchesDone == 1 ? " batch" : " batches");
    log.WriteEventLogEntry(kWarningEventType, message, kStopEventId, kStopEventCategory);
    log.WriteDebugLog(message);
}

// The highest old id at or below `atMost`, if any.
std::optional<std::int32_t> HighestOldId(odbc::Statement& highestOldId, std::int32_t atMost) {
    highestOldId.SetParameter(1, atMost);
    highestOldId.Execute();
    std::optional<std::string> text;
    if (highestOldId.Fetch()) text = highestOldId.Text(0);
    highestOldId.CloseCursor();
    if (!text) return std::nullopt;
    return ReadId(*text, "highest");
}

std::string ElapsedSince(std::time_t start, const RunClock& clock) {
    return FormatElapsed(static_cast<std::int64_t>(clock.Now() - start));
}

}  // namespace

PurgeOutcome RunPurge(const PurgeSettings& settings, PurgeHost& host, const RunLog& log) {
    return RunPurgeWithClock(settings, host, log, SystemRunClock());
}

PurgeOutcome RunPurgeWithClock(const PurgeSettings& settings, PurgeHost& host, const RunLog& log,
                               const RunClock& clock) {
    CheckSettings(settings);

    LowerRunPriority(log);

    const std::tm today = LocalTime(clock.Now());
    const std::string cutOff = BuildCutOffLiteral(settings.days, today);
    log.WriteDebugLog("Prepared timestamp: " + cutOff);
    std::tm cutOffDay = CutOffDay(settings.days, today);
    const ClientTimeZone zone = FindClientTimeZone(std::mktime(&cutOffDay));

    const std::string connectionText =
        BuildConnectionText(settings.dsn, settings.userName, settings.password);
    odbc::Connection connection(connectionText);
    SetSessionTimeZone(connection, zone);
    if (settings.deleteRows != 0) CheckWriteSetLimit(connection, settings.recordsPerTrip);
    const std::optional<IdRange> range = FindIdRange(connection, settings, cutOff);
    if (!range) {
        log.WriteDebugLog("No Data available");
        host.NoRowsFound();
        return PurgeOutcome::NoData;
    }
    log.WriteDebugLog("MinID = " + std::to_string(range->minId) + "; MaxID = " +
                      std::to_string(range->maxId));
    log.WriteDebugLog("Start deleting");
    std::int64_t batchCounter = 0;

    const BatchTable table{settings.tableName, settings.timeColumn, cutOff};
    odbc::Statement deleteBatch(connection);
    deleteBatch.Prepare(BatchDeleteSql(table, BatchScanFor(connection)));
    const std::size_t batchTopParameter = deleteBatch.AddIntegerParameter();
    const std::size_t lowerBoundParameter = deleteBatch.AddIntegerParameter();
    odbc::Statement highestOldId(connection);
    highestOldId.Prepare(HighestOldIdSql(table));
    highestOldId.AddIntegerParameter();

    host.BatchesStarting();

    const std::time_t start = clock.Now();
    const std::int32_t batchWidth = settings.recordsPerTrip;
    // The export's own connection, kept from batch to batch and closed when
    // the run ends.
    odbc::ConnectionPool exportConnections(
        connectionText, [&zone](const odbc::Connection& fresh) { SetSessionTimeZone(fresh, zone); });
    const bool backUpAndDelete = settings.backupRows != 0 && settings.deleteRows != 0;
    // A run whose host does not yield on its thread exports the batch below
    // on the export's own connection while the main one deletes the current
    // batch: their id ranges do not meet, and a batch is still deleted only
    // once its own export has returned, flushed.
    const bool overlap =
        backUpAndDelete && !host.YieldsOnItsThread() && ReadsWhileDeleting(connection);
    PurgeHost quietHost;
    CsvBatchExport backup(settings, cutOff, exportConnections, overlap ? quietHost : host, log,
                          clock);
    std::future<std::int64_t> exportBelow;  // waited for, also when a batch fails
    std::int32_t batchTop = range->maxId;
    if (backUpAndDelete) connection.BeginTransactions();
    std::int64_t batchesDone = 0;
    const bool touchesRows = settings.backupRows != 0 || settings.deleteRows != 0;
    // Set after a batch without old rows, and kept while the run finds its
    // old rows far apart: then the next old row is asked for first.
    bool lookAhead = false;
    while (batchTop >= range->minId) {
        if (const int signal = host.StopSignal(); signal != 0) {
            ReportStop(log, signal, batchesDone);
            return PurgeOutcome::Stopped;
        }
        host.Yield();
        bool passedOver = false;
        if (lookAhead) {
            // Straight to the batch holding the next old row (or the lowest
            // batch, when none is left), counting the empty batches passed
            // over as if they had run.
            const std::int32_t next =
                std::max(range->minId, HighestOldId(highestOldId, batchTop).value_or(range->minId));
            const std::int64_t passed = BatchesAbove(batchTop, batchWidth, next);
            batchTop = static_cast<std::int32_t>(batchTop - passed * batchWidth);
            batchCounter += passed * batchWidth;
            passedOver = passed > 0;
        }
        const std::int32_t lowerBound = BatchLowerBound(batchTop, batchWidth);
        deleteBatch.SetParameter(batchTopParameter, batchTop);
        deleteBatch.SetParameter(lowerBoundParameter, lowerBound);
        std::int64_t rowsFound = 0;
        // The export comes first: a batch whose backup failed is not deleted.
        if (backUpAndDelete) {
            bool firstExport = true;
            const auto exportThisBatch = [&] {
                if (firstExport && exportBelow.valid()) {
                    rowsFound = exportBelow.get();  // under way since the batch above
                } else {
                    // Exported again after an undone delete: the export of
                    // the batch below, if under way, has the connection.
                    if (exportBelow.valid()) exportBelow.wait();
                    rowsFound = backup.ExportBatch(batchTop, batchWidth);
                }
                // Only when the next batch is surely the one below: a batch
                // that found rows, reached without passing over any, leaves
                // no look-ahead.
                if (overlap && firstExport && rowsFound > 0 && !passedOver &&
                    lowerBound >= range->minId) {
                    exportBelow = std::async(std::launch::async, [&backup, lowerBound, batchWidth] {
                        return backup.ExportBatch(lowerBound, batchWidth);
                    });
                }
                firstExport = false;
                return rowsFound;
            };
            DeleteBackedUpBatch(connection, deleteBatch, exportThisBatch,
                                "(" + std::to_string(lowerBound) + ", " + std::to_string(batchTop) + "]", log);
        } else if (settings.backupRows != 0) {
            rowsFound = backup.ExportBatch(batchTop, batchWidth);
        } else if (settings.deleteRows != 0) {
            // Each DELETE commits on its own: a conflict has undone it whole.
            RetryConflicts([&] { rowsFound = deleteBatch.Execute() ? deleteBatch.RowCount() : 0; }, [] {},
                           "(" + std::to_string(lowerBound) + ", " + std::to_string(batchTop) + "]", log,
                           SleepBeforeRetry);
        }
        batchCounter += batchWidth;
        batchTop = lowerBound;
        ++batchesDone;
        lookAhead = touchesRows && (rowsFound == 0 || passedOver);
        host.BatchDone(batchCounter);
    }
    backup.Finish();

    host.BatchesDone();
    log.WriteDebugLog("About " + FormatSignedCount(batchCounter) + " records deleteted in " +
                      ElapsedSince(start, clock));
    host.RunFinished(batchCounter, ElapsedSince(start, clock), settings.deleteRows != 0);
    return PurgeOutcome::Finished;
}

}  // namespace sorvane
