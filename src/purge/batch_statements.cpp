#include "purge/batch_statements.h"

namespace sorvane {

namespace {

std::string OldRowsOfBatch(const BatchTable& table) {
    // The time condition keeps rows younger than the cut-off whose ids fall
    // inside a batch: ids are not in time order in real log tables.
    return " FROM " + table.tableName + " WHERE id<=? and id>? and " + table.timeColumn +
           " <= " + table.cutOffLiteral;
}

std::string OrderClause(BatchScan scan) {
    return scan == BatchScan::Descending ? " ORDER BY id DESC" : "";
}

}  // namespace

std::string BatchDeleteSql(const BatchTable& table, BatchScan scan) {
    return "DELETE" + OldRowsOfBatch(table) + OrderClause(scan);
}

std::string BatchExportSql(const BatchTable& table, BatchScan scan) {
    return "SELECT *" + OldRowsOfBatch(table) + OrderClause(scan);
}

std::string HighestOldIdSql(const BatchTable& table) {
    return "SELECT max(id) FROM " + table.tableName + " WHERE id<=? and " + table.timeColumn +
           " <= " + table.cutOffLiteral;
}

}  // namespace sorvane
