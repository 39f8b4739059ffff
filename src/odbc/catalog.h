#pragma once
// What the driver's catalog says about a table's columns (SQLColumns).

#include <optional>
#include <string>
#include <vector>

#include "odbc/connection.h"

namespace sorvane::odbc {

struct CatalogColumn {
    std::string catalog, schema, table;  // the table the column belongs to
    std::string name;
    int sqlType = 0;           // DATA_TYPE: SQL_INTEGER, SQL_TYPE_TIMESTAMP, ...
    std::string typeName;      // the database's own name ("int unsigned", "timestamp")
    long columnSize = 0;       // 0 when the driver gives none
    int decimalDigits = 0;     // 0 when the driver gives none
    bool nullable = true;      // false only when the driver says NOT NULL
    int position = 0;          // ORDINAL_POSITION, from 1
};

// The columns of every table whose name is exactly `table` (in `schema` and
// `catalog` when given), in catalog order. The names are taken literally:
// the catalog's wildcards '_' and '%' are escaped, and rows for other names
// that the driver lets through are dropped.
std::vector<CatalogColumn> ListColumns(const Connection& connection, const std::optional<std::string>& catalog,
                                       const std::optional<std::string>& schema, const std::string& table);

}  // namespace sorvane::odbc
