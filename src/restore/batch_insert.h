#pragma once
// The rows of one restore batch inserted in one transaction, skipping the
// ids the table holds already.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "odbc/connection.h"
#include "odbc/statement.h"
#include "restore/restore_column.h"

namespace sorvane {

struct RestoreRow {
    std::vector<std::optional<std::string>> values;  // in the driver's text forms; nothing = NULL
    std::int64_t id = 0;
    std::int64_t line = 0;  // where the row starts in the backup file
};

class BatchInsert {
public:
    // `connection` is in manual-commit mode and outlives this. The
    // statements are prepared here, for batches of up to `batchRows` rows.
    BatchInsert(odbc::Connection& connection, const std::string& tableName,
                const std::vector<RestoreColumn>& columns, int batchRows);

    struct Counts {
        std::int64_t restored = 0;  // inserted, or to be inserted in a dry run
        std::int64_t present = 0;   // id in the table already, or earlier in the batch
    };

    // Inserts the rows whose id is neither in the table nor earlier in the
    // batch (nor, in a dry run, in an earlier batch) and commits; a dry run
    // inserts nothing. When the database refuses a row, the batch is rolled
    // back and RunFailure raised with `failedLine` set to that row's line.
    Counts Run(const std::vector<RestoreRow>& batch, bool dryRun, std::int64_t& failedLine);

private:
    std::unordered_set<std::int64_t> PresentIds(const std::vector<RestoreRow>& batch);
    void Insert(odbc::Statement& statement, const RestoreRow* rows, std::size_t count);
    void RollBack() noexcept;

    odbc::Connection& connection_;
    std::size_t columnCount_;
    int batchRows_;
    std::size_t rowsPerStatement_;
    odbc::Statement present_;
    odbc::Statement insertMany_;  // rowsPerStatement_ rows at a time: far fewer round trips
    odbc::Statement insertOne_;
    std::unordered_set<std::int64_t> dryRunIds_;
};

}  // namespace sorvane
