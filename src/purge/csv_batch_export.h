#pragma once
// Saves the rows of one id batch to the backup file before the batch is
// deleted.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "purge/backup_run.h"
#include "purge/batch_walk.h"
#include "odbc/connection_pool.h"
#include "odbc/statement.h"
#include "purge/purge_host.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"

namespace sorvane {

class RunLog;

// The export of one run. It takes its connection from the run's pool once
// (so one login serves every batch), prepares its query on it once, and
// knows which backup files the run has opened.
class CsvBatchExport {
public:
    // Everything given must outlive the export; `connections` is opened with
    // the settings' data source.
    CsvBatchExport(const PurgeSettings& settings, const std::string& cutOffLiteral,
                   odbc::ConnectionPool& connections, PurgeHost& host, const RunLog& log,
                   const RunClock& clock);
    ~CsvBatchExport();
    CsvBatchExport(const CsvBatchExport&) = delete;
    CsvBatchExport& operator=(const CsvBatchExport&) = delete;

    // Writes every row of the batch (lowerBound < id <= top) whose time
    // column lies on or before the cut-off to the backup file, one CSV line
    // per row, highest id first, and gives the number of rows written; a
    // batch without rows opens no file. The rows are on stable storage only
    // once FlushWritten has returned, which flushes every file written since
    // the last flush, so that one flush serves several batches: no batch may
    // be deleted before the flush that followed its writing. Both raise
    // RunFailure on any failure (the connection, the query, a file that
    // cannot be opened, written or flushed); whole lines already written
    // stay in the file, a line cut short by the failure does not.
    std::int64_t WriteBatch(const Batch& batch);
    void FlushWritten();

    // The run got through all its batches (see BackupRun::Finish).
    void Finish() { backupRun_.Finish(); }

    // The backup files written to so far, in the order first opened.
    const std::vector<std::string>& FilesOpened() const { return backupRun_.FilesOpened(); }

private:
    struct PreparedQuery;

    // The query run for one batch, on a new connection once more when the
    // kept one turns out lost.
    odbc::Statement& RunQuery(std::int64_t batchTop, std::int64_t lowerBound);

    const PurgeSettings& settings_;
    std::string cutOffLiteral_;
    PurgeHost& host_;
    const RunLog& log_;
    const RunClock& clock_;
    odbc::ConnectionPool& connections_;
    std::string sql_;
    std::unique_ptr<PreparedQuery> query_;
    BackupRun backupRun_;
    std::vector<BackupFileWriter*> unflushed_;
    // The lines of a batch gathered for the file, kept from batch to batch so
    // that its room is not allocated again for each.
    std::string chunk_;
};

}  // namespace sorvane
