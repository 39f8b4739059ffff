#pragma once
// The rows of an executed statement read into bound text buffers: one driver
// call per row instead of one per value. A value too long for its buffer is
// read again whole with SQLGetData.
//
// One row per fetch: MariaDB Connector/ODBC 3.1 answers SQLGetData inside a
// block of several rows from the block's last row whatever SQLSetPos chose,
// which would corrupt long values, and several rows per fetch measured no
// faster than one.

#include <sql.h>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "odbc/statement.h"

namespace sorvane::odbc {

class BoundRowReader {
public:
    // `statement` has just been executed; nothing of its result is read yet.
    // Columns are bound where the driver reads a bound column again with
    // SQLGetData (SQL_GD_BOUND); elsewhere every value is read on its own.
    explicit BoundRowReader(Statement& statement);
    // Unbinds the buffers and closes the cursor, so that the statement can be
    // executed again.
    ~BoundRowReader();
    BoundRowReader(const BoundRowReader&) = delete;
    BoundRowReader& operator=(const BoundRowReader&) = delete;

    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Moves to the next row; false at the end.
    bool Fetch();
    // The current row's value as Statement::Text gives it, or nothing for
    // NULL. The text stays valid until the next Fetch; no copy is made of a
    // value that fitted its buffer.
    std::optional<std::string_view> Text(int column);

private:
    struct Column {
        std::vector<char> value;  // terminating zero included
        SQLLEN length = 0;        // or SQL_NULL_DATA, SQL_NO_TOTAL
        std::string whole;        // a value read again because it did not fit
    };

    Statement& statement_;
    bool bound_;
    std::vector<Column> columns_;
};

}  // namespace sorvane::odbc
