#include "purge/export_batch_to_csv.h"

#include <memory>
#include <string>
#include <vector>

#include "purge/batch_arithmetic.h"
#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "purge/odbc_bound_row.h"
#include "purge/odbc_connection_pool.h"
#include "purge/odbc_diagnostics.h"
#include "purge/odbc_statement.h"
#include "common/run_failure.h"
#include "common/reporting.h"

namespace sorvane {

namespace {

// Lines gathered before they go to the file in one write: large enough to
// keep system calls few, small enough for the widest batch of long rows.
constexpr std::size_t kWriteChunk = 1 << 20;

// The export's connection and its batch query, open together. The
// connection is the one the previous batch closed, when it is still good.
struct BatchQuery {
    BatchQuery(odbc::ConnectionPool& connections, const std::string& sql)
        : connection(connections), statement(connection.Get()) {
        statement.ExecuteDirect(sql);
    }

    odbc::PooledConnection connection;
    odbc::Statement statement;
};

// A kept connection may have died while it waited (the server restarted, or
// dropped it), and not every driver notices before it is used. The query
// only reads and nothing of the batch has been written yet, so it is tried
// once more on a new connection.
std::unique_ptr<BatchQuery> OpenBatchQuery(odbc::ConnectionPool& connections, const std::string& sql,
                                           const RunLog& log) {
    try {
        return std::make_unique<BatchQuery>(connections, sql);
    } catch (const odbc::DriverFailure& failure) {
        if (!odbc::IsConnectionLost(failure)) throw;
        log.WriteDebugLog("Connection lost, connecting again: " + failure.Description());
    }
    return std::make_unique<BatchQuery>(connections, sql);
}

}  // namespace

CsvBatchExport::CsvBatchExport(const PurgeSettings& settings, const std::string& cutOffLiteral,
                               odbc::ConnectionPool& connections, PurgeHost& host, const RunLog& log,
                               const RunClock& clock)
    : settings_(settings),
      cutOffLiteral_(cutOffLiteral),
      host_(host),
      log_(log),
      clock_(clock),
      connections_(connections) {}

std::int64_t CsvBatchExport::ExportBatch(std::int32_t batchTop, std::int32_t batchWidth) {
    const PurgeSettings& settings = settings_;
    const std::int32_t lowerBound = BatchLowerBound(batchTop, batchWidth);
    const std::unique_ptr<BatchQuery> batch = OpenBatchQuery(
        connections_,
        "SELECT * FROM " + settings.tableName + " WHERE id<=" + std::to_string(batchTop) +
            " and id>" + std::to_string(lowerBound) + " and " + settings.timeColumn + " <= " +
            cutOffLiteral_,
        log_);
    odbc::Statement& query = batch->statement;

    BackupFileWriter& file = backupRun_.FileFor(settings, clock_, log_);

    odbc::BoundRowReader reader(query);
    const int columns = reader.ColumnCount();
    std::vector<int> types;
    for (int column = 0; column < columns; ++column) types.push_back(query.ColumnType(column));

    std::string line;
    std::string chunk;
    std::int64_t rows = 0;
    while (reader.Fetch()) {
        ++rows;
        host_.Yield();
        line.clear();
        for (int column = 0; column < columns; ++column) {
            host_.Yield();
            AppendCsvField(line, FieldText(types[column], reader.Text(column)), settings.separator,
                           settings.escapeText);
            if (column + 1 < columns) line += settings.separator;
        }
        line += "\r\n";
        if (chunk.size() + line.size() > kWriteChunk) {
            file.Append(chunk);
            chunk.clear();
        }
        chunk += line;
    }
    file.Append(chunk);
    // On stable storage before the caller deletes the batch.
    file.Flush();
    return rows;
}

}  // namespace sorvane
