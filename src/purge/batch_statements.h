#pragma once
// The SQL of a run's batches: the DELETE of one id batch, the query that
// exports it, and the query that finds the next old row below an empty one.
// Each takes the batch's bounds as parameters (upper bound first), so it is
// prepared once per run.

#include <string>

#include "odbc/connection.h"

namespace sorvane {

// Whether a batch's statements walk its id range from the top, as the run
// walks its batches. On InnoDB an ascending range scan ends by stepping over
// the previous batch's just-deleted rows, which doubles the cost of a DELETE.
enum class BatchScan { AnyOrder, Descending };

// Descending where the database accepts ORDER BY on a DELETE and gains by
// it: MariaDB and MySQL. Asked once per run.
BatchScan BatchScanFor(const odbc::Connection& connection);

// Whether the export may read one batch while the run's own connection
// deletes another. Not on SQLite: there a reader holds off the writer's
// commit, and the waits cost more than running both at once saves.
bool ReadsWhileDeleting(const odbc::Connection& connection);

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
