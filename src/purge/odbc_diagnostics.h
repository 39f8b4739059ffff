#pragma once
// Turns a failed ODBC call into the program's RunFailure: the driver's native
// error number and "[SQLSTATE] message" of the first diagnostic record.

#include <sql.h>

namespace sorvane {
class RunFailure;
}

namespace sorvane::odbc {

// Raises RunFailure for a failed call on `handle`. `context` names what was
// being done, for the case that the driver leaves no diagnostic record.
[[noreturn]] void RaiseDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const char* context);

// Raises unless `result` is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context);

// True when a driver failure says the connection to the server is gone
// (SQLSTATE class 08, or the server's own "shutting down" states 57P01 to
// 57P03): a new connection may succeed where this one failed.
bool IsConnectionLost(const RunFailure& failure);

}  // namespace sorvane::odbc
