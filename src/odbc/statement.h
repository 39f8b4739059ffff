#pragma once
// One statement on an open connection: direct queries, or a prepared
// statement with 64-bit integer parameters bound by position (the order of
// the placeholders). Values are read as text.

#include <sql.h>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "odbc/connection.h"

namespace sorvane::odbc {

class Statement {
public:
    // `connection` must outlive the statement.
    explicit Statement(const Connection& connection);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;

    const Connection& ParentConnection() const { return *connection_; }

    // Runs `sql` at once. False when the driver says no row was touched.
    bool ExecuteDirect(const std::string& sql);

    void Prepare(const std::string& sql);
    // Binds the next placeholder as an input SQL_BIGINT parameter, 0 until
    // set; returns its position (the first is 1).
    std::size_t AddBigIntParameter();
    void SetParameter(std::size_t position, std::int64_t value);
    // Runs the prepared statement. False when no row matched (SQL_NO_DATA),
    // which is not a failure.
    bool Execute();

    // Number of rows the last statement changed, as the driver counts them.
    std::int64_t RowCount() const;

    // The result set of the last statement.
    int ColumnCount() const;
    // The column's SQL data type (SQL_INTEGER, SQL_TYPE_TIMESTAMP, ...);
    // columns count from 0.
    int ColumnType(int column) const;
    std::string ColumnName(int column) const;
    // Moves to the next row; false at the end.
    bool Fetch();
    // The column's value in the current row as text (the locale's character
    // set), or nothing for NULL. Long values are read whole.
    std::optional<std::string> Text(int column);
    void CloseCursor();

    // Binds the next placeholder as an input parameter of `sqlType` given
    // as text (SQL_C_CHAR), which the driver converts: NULL until set.
    // Text parameters follow the integer ones, if any; returns its position.
    std::size_t AddTextParameter(int sqlType, std::size_t columnSize, int decimalDigits);
    // Nothing sets NULL. The text is copied; it must be in the locale's
    // character set, numbers and times in their ODBC forms ("-1.5",
    // "2026-11-08 00:00:00").
    void SetTextParameter(std::size_t position, const std::optional<std::string>& value);

    SQLHSTMT Handle() const { return handle_; }

private:
    struct IntegerParameter {
        SQLBIGINT value = 0;
        SQLLEN indicator = 0;
    };

    struct TextParameter {
        std::size_t position = 0;
        int sqlType = 0;
        std::size_t columnSize = 0;
        int decimalDigits = 0;
        std::string value;
        SQLLEN indicator = SQL_NULL_DATA;
    };

    void BindText(TextParameter& parameter);
    bool Succeeded(SQLRETURN result, const char* context);
    void Free() noexcept;

    const Connection* connection_;
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    // The driver keeps the address of each bound value: a deque never moves
    // its elements, neither when it grows nor when the statement moves.
    std::deque<IntegerParameter> parameters_;
    std::deque<TextParameter> textParameters_;
};

}  // namespace sorvane::odbc
