#include "odbc/bound_row.h"

#include <sqlext.h>

#include <utility>

#include "odbc/diagnostics.h"

namespace sorvane::odbc {

namespace {

// Room for a value: its display size in UTF-8 (up to four bytes a
// character), held to a size that fits ordinary log text.
constexpr std::size_t kLongestBuffered = 2048;

bool RereadsBoundColumns(const Connection& connection) {
    SQLUINTEGER extensions = 0;
    return SQL_SUCCEEDED(SQLGetInfo(connection.Handle(), SQL_GETDATA_EXTENSIONS, &extensions,
                                    sizeof extensions, nullptr)) &&
           (extensions & SQL_GD_BOUND) != 0;
}

}  // namespace

BoundRowReader::BoundRowReader(Statement& statement)
    : statement_(statement), bound_(RereadsBoundColumns(statement.ParentConnection())) {
    const SQLHSTMT handle = statement.Handle();
    columns_.resize(static_cast<std::size_t>(statement.ColumnCount()));
    if (!bound_) return;
    for (std::size_t column = 0; column < columns_.size(); ++column) {
        const auto number = static_cast<SQLUSMALLINT>(column + 1);
        SQLLEN displaySize = 0;
        Check(SQLColAttribute(handle, number, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr,
                              &displaySize),
              SQL_HANDLE_STMT, handle, "Reading a column's display size");
        const std::size_t bytes =
            displaySize > 0 && static_cast<std::size_t>(displaySize) < kLongestBuffered / 4
                ? static_cast<std::size_t>(displaySize) * 4
                : kLongestBuffered;
        Column& bound = columns_[column];
        bound.value.resize(bytes + 1);
        Check(SQLBindCol(handle, number, SQL_C_CHAR, bound.value.data(),
                         static_cast<SQLLEN>(bound.value.size()), &bound.length),
              SQL_HANDLE_STMT, handle, "Binding a column");
    }
}

BoundRowReader::~BoundRowReader() {
    SQLFreeStmt(statement_.Handle(), SQL_CLOSE);
    if (bound_) SQLFreeStmt(statement_.Handle(), SQL_UNBIND);
}

bool BoundRowReader::Fetch() { return statement_.Fetch(); }

std::optional<std::string_view> BoundRowReader::Text(int column) {
    Column& bound = columns_[static_cast<std::size_t>(column)];
    if (bound_) {
        if (bound.length == SQL_NULL_DATA) return std::nullopt;
        if (bound.length >= 0 && static_cast<std::size_t>(bound.length) < bound.value.size()) {
            return std::string_view(bound.value.data(), static_cast<std::size_t>(bound.length));
        }
    }
    // Not bound, or cut short by the buffer (or of unknown length): read it
    // whole.
    std::optional<std::string> text = statement_.Text(column);
    if (!text) return std::nullopt;
    bound.whole = std::move(*text);
    return bound.whole;
}

}  // namespace sorvane::odbc
