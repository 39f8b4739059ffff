#pragma once
// The columns of the table a backup goes back into, as the database's
// catalog lists them, in table order.

#include <string>
#include <vector>

#include "odbc/connection.h"
#include "restore/restore_column.h"

namespace sorvane {

// `tableName` as the options give it (one to three parts, plain or quoted).
// A plain part is looked up as typed, then in lower and in upper case, as
// databases fold unquoted names. The columns must be those that
// "SELECT * FROM <tableName>" returns, in that order: that is what the
// backup holds. Raises RunFailure when the table is not found or the catalog
// and the table disagree.
std::vector<RestoreColumn> ReadTableColumns(const odbc::Connection& connection, const std::string& tableName);

}  // namespace sorvane
