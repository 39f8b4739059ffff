#pragma once
// What each batch of a run does to the table and the backup: export it,
// delete it, both (the delete checked against the export), or neither.

#include <cstdint>
#include <string>
#include <vector>

#include "odbc/connection.h"
#include "odbc/connection_pool.h"
#include "odbc/statement.h"
#include "purge/batch_walk.h"
#include "purge/conflict_retry.h"
#include "purge/csv_batch_export.h"
#include "purge/export_ahead.h"
#include "purge/purge_host.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"
#include "purge/session_time_zone.h"

namespace sorvane {

class RunLog;

class BatchWork {
public:
    // Prepares the batch statements on `connection` (and, to back up and
    // delete, puts it in transactions). Everything given must outlive this.
    BatchWork(const PurgeSettings& settings, odbc::Connection& connection, const std::string& cutOffLiteral,
              const ClientTimeZone& zone, PurgeHost& host, const RunLog& log, const RunClock& clock);

    // The look-ahead of the run's walk: none when batches touch no rows.
    HighestOldIdAtOrBelow HighestOldId();
    // The old ids that let the walk run several sparse batches as one span:
    // none where the look-ahead is none or the database cannot limit a
    // query's rows.
    OldIdsAtOrBelow OldIds();

    // Does one batch (or span of batches: one export, one DELETE) and gives
    // the rows it found (exported at its first export, else deleted).
    // A batch that meets a conflicting transaction is done again, up to
    // kConflictTries times (RetryConflicts).
    // With backup and delete, batches are exported in groups with one flush
    // each (ExportAhead), and with a host that does not yield on its thread
    // the next group is exported meanwhile on the export's own connection:
    // the id ranges do not meet, and each batch is still deleted only after
    // the flush that followed its export has returned.
    std::int64_t Run(const Batch& batch, const BatchWalk& walk);

    // The run got through all its batches.
    void Finish() { backup_.Finish(); }

    // Real rows so far: deleted by committed DELETEs, and written to the
    // backup (a batch exported again counts its rows each time).
    std::int64_t RowsDeleted() const { return rowsDeleted_; }
    std::int64_t RowsBackedUp() const { return rowsBackedUp_; }
    // The backup files written to, in the order first opened.
    const std::vector<std::string>& BackupFiles() const { return backup_.FilesOpened(); }

private:
    std::int64_t ExportAndDelete(const Batch& batch, const BatchWalk& walk);
    // Whether a failure is a conflict with another transaction, which the
    // batch meets again by being done again.
    ConflictTest IsConflict() const;

    const PurgeSettings& settings_;
    odbc::Connection& connection_;
    const RunLog& log_;
    const bool backUpAndDelete_;
    bool overlap_ = false;
    odbc::Statement delete_;
    odbc::Statement highestOldId_;
    odbc::Statement oldIds_;
    // The export's own connection, kept from batch to batch.
    odbc::ConnectionPool exportConnections_;
    PurgeHost quietHost_;  // an export on another thread does not yield
    CsvBatchExport backup_;
    std::int64_t rowsDeleted_ = 0;
    std::int64_t rowsBackedUp_ = 0;
    ExportAhead ahead_;  // last: waits for its export before the rest goes
};

}  // namespace sorvane
