#pragma once
// Saves the rows of one id batch to the backup file before the batch is
// deleted.

#include <cstdint>
#include <string>

#include "purge/backup_run.h"
#include "purge/odbc_connection_pool.h"
#include "purge/purge_host.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"

namespace sorvane {

class RunLog;

// The export of one run. It takes its connection for each batch from the
// run's pool (so one login serves every batch) and knows which backup files
// the run has opened.
class CsvBatchExport {
public:
    // Everything given must outlive the export; `connections` is opened with
    // the settings' data source.
    CsvBatchExport(const PurgeSettings& settings, const std::string& cutOffLiteral,
                   odbc::ConnectionPool& connections, PurgeHost& host, const RunLog& log,
                   const RunClock& clock);

    // Writes every row with batchTop - batchWidth < id <= batchTop whose time
    // column lies on or before the cut-off to the backup file, one CSV line
    // per row, and gives the number of rows written. When it returns, the
    // rows are on stable storage. Raises RunFailure on any failure (the
    // connection, the query, a file that cannot be opened, written or
    // flushed); whole lines already written stay in the file, a line cut
    // short by the failure does not.
    std::int64_t ExportBatch(std::int32_t batchTop, std::int32_t batchWidth);

    // The run got through all its batches (see BackupRun::Finish).
    void Finish() { backupRun_.Finish(); }

private:
    const PurgeSettings& settings_;
    std::string cutOffLiteral_;
    PurgeHost& host_;
    const RunLog& log_;
    const RunClock& clock_;
    odbc::ConnectionPool& connections_;
    BackupRun backupRun_;
};

}  // namespace sorvane
