#include "restore/batch_insert.h"

#include <sqlext.h>

#include <algorithm>

#include "common/run_failure.h"

namespace sorvane {

namespace {

// Placeholders per INSERT statement, well below every database's limit.
constexpr std::size_t kParametersPerStatement = 2000;
constexpr std::size_t kMostRowsPerStatement = 50;

std::string Marks(std::size_t count) {
    std::string marks;
    for (std::size_t i = 0; i < count; ++i) marks += i == 0 ? "?" : ",?";
    return marks;
}

// Standard types are bound as they are; a driver's own type as text, which
// the database converts.
int ParameterType(int sqlType) {
    switch (sqlType) {
        case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR: case SQL_WCHAR: case SQL_WVARCHAR:
        case SQL_WLONGVARCHAR: case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT:
        case SQL_DECIMAL: case SQL_NUMERIC: case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: case SQL_BIT:
        case SQL_TYPE_TIMESTAMP: case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_BINARY: case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return sqlType;
        case SQL_TIMESTAMP: return SQL_TYPE_TIMESTAMP;
        case SQL_DATE: return SQL_TYPE_DATE;
        case SQL_TIME: return SQL_TYPE_TIME;
        default: return SQL_VARCHAR;
    }
}

// An INSERT of `rows` rows without a column list: the backup holds every
// column in table order.
void PrepareInsert(odbc::Statement& statement, const std::string& table, const std::vector<RestoreColumn>& columns,
                   std::size_t rows) {
    const std::string row = "(" + Marks(columns.size()) + ")";
    std::string values;
    for (std::size_t i = 0; i < rows; ++i) values += (i == 0 ? "" : ",") + row;
    statement.Prepare("INSERT INTO " + table + " VALUES " + values);
    for (std::size_t i = 0; i < rows; ++i) {
        for (const RestoreColumn& column : columns) {
            statement.AddTextParameter(ParameterType(column.sqlType),
                                       static_cast<std::size_t>(std::max(0L, column.columnSize)),
                                       column.decimalDigits);
        }
    }
}

}  // namespace

BatchInsert::BatchInsert(odbc::Connection& connection, const std::string& tableName,
                         const std::vector<RestoreColumn>& columns, int batchRows)
    : connection_(connection),
      columnCount_(columns.size()),
      batchRows_(batchRows),
      rowsPerStatement_(std::clamp<std::size_t>(kParametersPerStatement / std::max<std::size_t>(1, columns.size()),
                                                1, std::min<std::size_t>(kMostRowsPerStatement, batchRows))),
      present_(connection),
      insertMany_(connection),
      insertOne_(connection) {
    present_.Prepare("SELECT id FROM " + tableName + " WHERE id IN (" + Marks(batchRows) + ")");
    for (int i = 0; i < batchRows; ++i) present_.AddTextParameter(SQL_BIGINT, 20, 0);
    PrepareInsert(insertMany_, tableName, columns, rowsPerStatement_);
    PrepareInsert(insertOne_, tableName, columns, 1);
}

std::unordered_set<std::int64_t> BatchInsert::PresentIds(const std::vector<RestoreRow>& batch) {
    // A short batch repeats its first id in the placeholders left over.
    for (std::size_t i = 0; i < static_cast<std::size_t>(batchRows_); ++i) {
        present_.SetTextParameter(i + 1, std::to_string(batch[i < batch.size() ? i : 0].id));
    }
    std::unordered_set<std::int64_t> ids;
    present_.Execute();
    while (present_.Fetch()) {
        if (const std::optional<std::string> id = present_.Text(0)) ids.insert(std::stoll(*id));
    }
    present_.CloseCursor();
    return ids;
}

void BatchInsert::Insert(odbc::Statement& statement, const RestoreRow* rows, std::size_t count) {
    std::size_t position = 1;
    for (std::size_t row = 0; row < count; ++row) {
        for (const auto& value : rows[row].values) statement.SetTextParameter(position++, value);
    }
    statement.Execute();
}

void BatchInsert::RollBack() noexcept {
    try {
        connection_.Rollback();
    } catch (const RunFailure&) {
        // The failure that led here is the one to report.
    }
}

BatchInsert::Counts BatchInsert::Run(const std::vector<RestoreRow>& batch, bool dryRun, std::int64_t& failedLine) {
    const std::unordered_set<std::int64_t> inTable = PresentIds(batch);
    std::unordered_set<std::int64_t> batchIds;
    std::unordered_set<std::int64_t>& seen = dryRun ? dryRunIds_ : batchIds;
    std::vector<RestoreRow> rows;
    Counts counts;
    for (const RestoreRow& row : batch) {
        if (inTable.count(row.id) > 0 || !seen.insert(row.id).second) {
            ++counts.present;
        } else {
            rows.push_back(row);
        }
    }
    counts.restored = static_cast<std::int64_t>(rows.size());
    if (dryRun) {
        RollBack();
        return counts;
    }
    failedLine = 0;
    try {
        std::size_t done = 0;
        for (; rows.size() - done >= rowsPerStatement_; done += rowsPerStatement_) {
            Insert(insertMany_, &rows[done], rowsPerStatement_);
        }
        for (; done < rows.size(); ++done) Insert(insertOne_, &rows[done], 1);
        connection_.Commit();
        return counts;
    } catch (const RunFailure&) {
        RollBack();
    }
    // Once more row by row, to name the row the database refuses (a failure
    // that does not come again lets the batch through).
    try {
        for (const RestoreRow& row : rows) {
            failedLine = row.line;
            Insert(insertOne_, &row, 1);
        }
        failedLine = 0;
        connection_.Commit();
    } catch (const RunFailure&) {
        RollBack();
        throw;
    }
    return counts;
}

}  // namespace sorvane
