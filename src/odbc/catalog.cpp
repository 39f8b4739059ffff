#include "odbc/catalog.h"

#include <sqlext.h>

#include "odbc/diagnostics.h"
#include "odbc/statement.h"

namespace sorvane::odbc {

namespace {

// Result columns of SQLColumns, counted from 0 as Statement::Text counts.
enum CatalogField {
    kTableCat = 0, kTableSchem = 1, kTableName = 2, kColumnName = 3, kDataType = 4, kTypeName = 5,
    kColumnSize = 6, kDecimalDigits = 8, kNullable = 10, kOrdinalPosition = 16,
};

std::string SearchPatternEscape(const Connection& connection) {
    SQLCHAR escape[8] = {0};
    SQLSMALLINT length = 0;
    const SQLRETURN result =
        SQLGetInfo(connection.Handle(), SQL_SEARCH_PATTERN_ESCAPE, escape, sizeof escape, &length);
    return SQL_SUCCEEDED(result) ? reinterpret_cast<const char*>(escape) : "";
}

// The name as a pattern that matches only itself, where the driver lets the
// wildcards be escaped; otherwise the name as it is (exact matches are
// picked out afterwards).
std::string LiteralPattern(const std::string& name, const std::string& escape) {
    if (escape.empty()) return name;
    std::string pattern;
    for (const char c : name) {
        if (c == '_' || c == '%' || escape.find(c) != std::string::npos) pattern += escape;
        pattern += c;
    }
    return pattern;
}

long Number(const std::optional<std::string>& text) {
    if (!text || text->empty()) return 0;
    try {
        return std::stol(*text);
    } catch (const std::exception&) {
        return 0;
    }
}

SQLCHAR* Argument(const std::optional<std::string>& text) {
    return text ? reinterpret_cast<SQLCHAR*>(const_cast<char*>(text->c_str())) : nullptr;
}

}  // namespace

std::vector<CatalogColumn> ListColumns(const Connection& connection, const std::optional<std::string>& catalog,
                                       const std::optional<std::string>& schema, const std::string& table) {
    const std::string escape = SearchPatternEscape(connection);
    const std::optional<std::string> schemaPattern =
        schema ? std::optional<std::string>(LiteralPattern(*schema, escape)) : std::nullopt;
    const std::optional<std::string> tablePattern = LiteralPattern(table, escape);

    Statement statement(connection);
    Check(SQLColumns(statement.Handle(), Argument(catalog), SQL_NTS, Argument(schemaPattern), SQL_NTS,
                     Argument(tablePattern), SQL_NTS, nullptr, 0),
          SQL_HANDLE_STMT, statement.Handle(), "Reading the table's columns from the catalog");
    std::vector<CatalogColumn> columns;
    while (statement.Fetch()) {
        CatalogColumn column;
        column.catalog = statement.Text(kTableCat).value_or("");
        column.schema = statement.Text(kTableSchem).value_or("");
        column.table = statement.Text(kTableName).value_or("");
        column.name = statement.Text(kColumnName).value_or("");
        column.sqlType = static_cast<int>(Number(statement.Text(kDataType)));
        column.typeName = statement.Text(kTypeName).value_or("");
        column.columnSize = Number(statement.Text(kColumnSize));
        column.decimalDigits = static_cast<int>(Number(statement.Text(kDecimalDigits)));
        column.nullable = Number(statement.Text(kNullable)) != SQL_NO_NULLS;
        column.position = static_cast<int>(Number(statement.Text(kOrdinalPosition)));
        const bool exact = column.table == table && (!schema || column.schema == *schema) &&
                           (!catalog || column.catalog == *catalog);
        if (exact) columns.push_back(std::move(column));
    }
    return columns;
}

}  // namespace sorvane::odbc
