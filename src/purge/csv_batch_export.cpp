#include "purge/csv_batch_export.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "purge/batch_walk.h"
#include "purge/batch_statements.h"
#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "odbc/bound_row.h"
#include "odbc/connection_pool.h"
#include "odbc/diagnostics.h"
#include "odbc/statement.h"
#include "common/run_failure.h"
#include "common/run_log.h"

namespace sorvane {

namespace {

// Lines gathered before they go to the file in one write: large enough to
// keep system calls few, small enough for the widest batch of long rows.
constexpr std::size_t kWriteChunk = 1 << 20;

}  // namespace

CsvBatchExport::CsvBatchExport(const PurgeSettings& settings, const std::string& cutOffLiteral,
                               odbc::ConnectionPool& connections, PurgeHost& host, const RunLog& log,
                               const RunClock& clock)
    : settings_(settings),
      cutOffLiteral_(cutOffLiteral),
      host_(host),
      log_(log),
      clock_(clock),
      connections_(connections),
      // Highest id first, as the batches go: the same order on every
      // database and, on MariaDB, no stepping over the rows the batch above
      // has just deleted.
      sql_(BatchExportSql({settings.tableName, settings.timeColumn, cutOffLiteral},
                          BatchScan::Descending)) {}

CsvBatchExport::~CsvBatchExport() = default;

// The export's connection and its prepared batch query, kept together for
// the run. The connection comes from the run's pool.
struct CsvBatchExport::PreparedQuery {
    PreparedQuery(odbc::ConnectionPool& connections, const std::string& sql)
        : connection(connections) {
        statement.emplace(connection.Get());
        statement->Prepare(sql);
        statement->AddBigIntParameter();  // the batch's top id
        statement->AddBigIntParameter();  // the id below the batch
    }
    // The statement goes before its connection; a failed connection is
    // closed rather than kept.
    ~PreparedQuery() {
        statement.reset();
        if (failed) connection.Discard();
    }

    odbc::PooledConnection connection;
    std::optional<odbc::Statement> statement;
    bool failed = false;
};

odbc::Statement& CsvBatchExport::RunQuery(std::int64_t batchTop, std::int64_t lowerBound) {
    for (bool retried = false;; retried = true) {
        const bool firstUse = !query_;
        try {
            if (!query_) query_ = std::make_unique<PreparedQuery>(connections_, sql_);
            query_->statement->SetParameter(1, batchTop);
            query_->statement->SetParameter(2, lowerBound);
            query_->statement->Execute();
            return *query_->statement;
        } catch (const odbc::DriverFailure& failure) {
            // A kept connection may have died while it waited (the server
            // restarted, or dropped it), and not every driver notices before
            // it is used, nor says so in the SQLSTATE of a prepared statement
            // (psqlODBC answers HY000). The query only reads and nothing of
            // the batch has been written yet, so after a lost connection, or
            // any failure on a connection's first query, it is tried once
            // more on a new connection.
            const bool lost = query_ && query_->connection.Get().SqlDialect().IsConnectionLost(failure);
            if (query_) query_->failed = true;
            query_.reset();
            if (retried || !(firstUse || lost)) throw;
            log_.WriteDebugLog("Export query failed, connecting again: " + failure.Description());
        }
    }
}

void CsvBatchExport::FlushWritten() {
    // A group of batches may have passed midnight and so written two files.
    for (BackupFileWriter* file : unflushed_) file->Flush();
    unflushed_.clear();
}

std::int64_t CsvBatchExport::WriteBatch(const Batch& batch) {
    const PurgeSettings& settings = settings_;
    odbc::Statement& query = RunQuery(batch.top, batch.lowerBound);

    odbc::BoundRowReader reader(query);
    const int columns = reader.ColumnCount();
    std::vector<int> types;
    for (int column = 0; column < columns; ++column) types.push_back(query.ColumnType(column));

    // The regional settings as they are for this batch, read once for all
    // its values.
    const FieldTextWriter fieldText;
    std::string valueText;
    std::string& chunk = chunk_;
    chunk.clear();
    std::int64_t rows = 0;
    BackupFileWriter* file = nullptr;
    while (reader.Fetch()) {
        // A batch without rows leaves the backup alone: no opening, no flush.
        if (!file) {
            file = &backupRun_.FileFor(settings, clock_, log_);
            if (std::find(unflushed_.begin(), unflushed_.end(), file) == unflushed_.end()) unflushed_.push_back(file);
        }
        ++rows;
        host_.Yield();
        for (int column = 0; column < columns; ++column) {
            host_.Yield();
            AppendCsvField(chunk, fieldText.Text(types[column], reader.Text(column), valueText),
                           settings.separator, settings.escapeText);
            if (column + 1 < columns) chunk += settings.separator;
        }
        chunk += "\r\n";
        // Only whole lines go to the file.
        if (chunk.size() >= kWriteChunk) {
            file->Append(chunk);
            chunk.clear();
        }
    }
    if (!file) return 0;
    if (!chunk.empty()) file->Append(chunk);
    // A batch of very long values leaves no lasting room behind.
    if (chunk.capacity() > 2 * kWriteChunk) chunk = std::string();
    return rows;
}

}  // namespace sorvane
