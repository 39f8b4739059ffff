#pragma once
// The SQL of a run's batches: the DELETE of one id batch, the query that
// exports it, and the query that finds the next old row below an empty one.
// Each takes the batch's bounds as parameters (upper bound first), so it is
// prepared once per run.

#include <string>

namespace sorvane {

// Whether a batch's statements walk its id range from the top, as the run
// walks its batches: where the dialect orders a DELETE (see
// odbc::Dialect::OrdersDelete), and always for the export.
enum class BatchScan { AnyOrder, Descending };

struct BatchTable {
    std::string tableName;   // checked SQL identifiers
    std::string timeColumn;
    std::string cutOffLiteral;
};

// DELETE of the rows with ? < id <= ? ... placeholders in the order: upper,
// lower.
std::string BatchDeleteSql(const BatchTable& table, BatchScan scan);
// SELECT * of the same rows, highest id first wherever the scan is ordered.
std::string BatchExportSql(const BatchTable& table, BatchScan scan);
// The highest id at or below ? whose row lies on or before the cut-off
// (NULL when there is none).
std::string HighestOldIdSql(const BatchTable& table);

}  // namespace sorvane
