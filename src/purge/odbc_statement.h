#pragma once
// One statement on an open connection: direct queries, or a prepared
// statement with named 32-bit integer parameters bound in the order they
// were added (the order of the placeholders). Values are read as text.

#include <sql.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "purge/odbc_connection.h"

namespace sorvane::odbc {

class Statement {
public:
    explicit Statement(const Connection& connection);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Runs `sql` at once. False when the driver says no row was touched.
    bool ExecuteDirect(const std::string& sql);

    void Prepare(const std::string& sql);
    // Binds the next placeholder as an input SQL_INTEGER parameter.
    void AddIntegerParameter(const std::string& name);
    void SetParameter(const std::string& name, std::int32_t value);
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

private:
    struct Parameter {
        std::string name;
        std::unique_ptr<SQLINTEGER> value;  // the driver keeps its address
        SQLLEN indicator = 0;
    };

    bool Succeeded(SQLRETURN result, const char* context);

    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    std::vector<std::unique_ptr<Parameter>> parameters_;
};

}  // namespace sorvane::odbc
