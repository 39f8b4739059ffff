#pragma once
// Turns a failed ODBC call into the program's RunFailure: the driver's native
// error number and SQLSTATE of the first diagnostic record (the SQLSTATE also
// kept as data), and "[SQLSTATE] message" of every record, joined on one line.

#include <sql.h>

#include <string>
#include <vector>

#include "common/run_failure.h"

namespace sorvane::odbc {

// A failure the driver reported. Travels and is reported as any RunFailure.
class DriverFailure : public RunFailure {
public:
    DriverFailure(long nativeError, std::string sqlState, std::string description)
        : RunFailure(nativeError, std::move(description)), sqlState_(std::move(sqlState)) {}

    // The five-character SQLSTATE ("08S01", "42S02", ...).
    const std::string& SqlState() const noexcept { return sqlState_; }

private:
    std::string sqlState_;
};

// One diagnostic record as the driver gave it.
struct DiagnosticRecord {
    std::string sqlState;
    long native = 0;
    std::string message;
};

// "[SQLSTATE] message" of each record, in order, joined by "; " on one line:
// line breaks inside a message become one blank, a zero byte becomes '?', and
// a record that reads like an earlier one is left out.
std::string DescribeRecords(const std::vector<DiagnosticRecord>& records);

// Raises DriverFailure for a failed call on `handle`; a plain RunFailure
// naming `context` when the driver leaves no diagnostic record.
[[noreturn]] void RaiseDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const char* context);

// Raises unless `result` is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context);

}  // namespace sorvane::odbc
