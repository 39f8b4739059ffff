#include "restore/table_columns.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "common/run_failure.h"
#include "odbc/catalog.h"
#include "odbc/statement.h"

namespace sorvane {

namespace {

struct NamePart {
    std::string text;
    bool quoted = false;
};

// "a.b.c" into its parts, quotes ("...", [...], `...`) taken off. The name
// has passed CheckTableName, so every quote is closed.
std::vector<NamePart> SplitTableName(const std::string& name) {
    std::vector<NamePart> parts(1);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const char close = c == '"' ? '"' : c == '[' ? ']' : c == '`' ? '`' : '\0';
        if (close != '\0') {
            const std::size_t end = name.find(close, i + 1);
            parts.back().text += name.substr(i + 1, end - i - 1);
            parts.back().quoted = true;
            i = end;
        } else if (c == '.') {
            parts.emplace_back();
        } else {
            parts.back().text += c;
        }
    }
    return parts;
}

std::string Folded(std::string text, int (*fold)(int)) {
    for (char& c : text) c = static_cast<char>(fold(static_cast<unsigned char>(c)));
    return text;
}

// The spellings under which a part may be stored.
std::vector<std::string> Spellings(const NamePart& part) {
    std::vector<std::string> spellings{part.text};
    if (part.quoted) return spellings;
    for (const std::string& folded : {Folded(part.text, ::tolower), Folded(part.text, ::toupper)}) {
        if (std::find(spellings.begin(), spellings.end(), folded) == spellings.end()) spellings.push_back(folded);
    }
    return spellings;
}

std::vector<std::string> SelectedColumnNames(const odbc::Connection& connection, const std::string& tableName) {
    odbc::Statement statement(connection);
    statement.ExecuteDirect("SELECT * FROM " + tableName + " WHERE 1=0");
    std::vector<std::string> names;
    for (int column = 0; column < statement.ColumnCount(); ++column) names.push_back(statement.ColumnName(column));
    return names;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// The catalog's columns grouped by table (a name given without its schema
// may be found in several), each group in column order.
std::vector<std::vector<odbc::CatalogColumn>> ByTable(std::vector<odbc::CatalogColumn> columns) {
    std::vector<std::vector<odbc::CatalogColumn>> tables;
    for (odbc::CatalogColumn& column : columns) {
        auto same = std::find_if(tables.begin(), tables.end(), [&](const auto& table) {
            return table.front().catalog == column.catalog && table.front().schema == column.schema &&
                   table.front().table == column.table;
        });
        if (same == tables.end()) same = tables.insert(tables.end(), std::vector<odbc::CatalogColumn>{});
        same->push_back(std::move(column));
    }
    for (auto& table : tables) {
        std::stable_sort(table.begin(), table.end(),
                         [](const auto& a, const auto& b) { return a.position < b.position; });
    }
    return tables;
}

bool Matches(const std::vector<odbc::CatalogColumn>& table, const std::vector<std::string>& selected) {
    return table.size() == selected.size() &&
           std::equal(table.begin(), table.end(), selected.begin(),
                      [](const auto& column, const std::string& name) { return SameName(column.name, name); });
}

}  // namespace

std::vector<RestoreColumn> ReadTableColumns(const odbc::Connection& connection, const std::string& tableName) {
    // Raises the database's own message for a table that is not there.
    const std::vector<std::string> selected = SelectedColumnNames(connection, tableName);
    const std::vector<NamePart> parts = SplitTableName(tableName);
    const std::size_t count = parts.size();
    const auto optionalPart = [&](std::size_t fromEnd) -> std::optional<NamePart> {
        if (count <= fromEnd) return std::nullopt;
        return parts[count - 1 - fromEnd];
    };
    const std::optional<NamePart> catalog = optionalPart(2);
    const std::optional<NamePart> schema = optionalPart(1);

    for (const std::string& table : Spellings(parts.back())) {
        for (const std::string& schemaName : schema ? Spellings(*schema) : std::vector<std::string>{""}) {
            for (const std::string& catalogName : catalog ? Spellings(*catalog) : std::vector<std::string>{""}) {
                const auto columns = odbc::ListColumns(
                    connection, catalog ? std::optional<std::string>(catalogName) : std::nullopt,
                    schema ? std::optional<std::string>(schemaName) : std::nullopt, table);
                for (const auto& found : ByTable(columns)) {
                    if (!Matches(found, selected)) continue;
                    std::vector<RestoreColumn> result;
                    for (const odbc::CatalogColumn& column : found) {
                        result.push_back({column.name, column.sqlType, column.columnSize, column.decimalDigits,
                                          column.nullable});
                    }
                    return result;
                }
            }
        }
    }
    throw RunFailure(kInvalidArgument, "The database's catalog lists no table " + tableName + " with the " +
                                           std::to_string(selected.size()) + " columns it returns");
}

}  // namespace sorvane
