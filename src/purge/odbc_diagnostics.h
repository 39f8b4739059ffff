#pragma once
// Turns a failed ODBC call into the program's RunFailure: the driver's native
// error number and "[SQLSTATE] message" of the first diagnostic record.

#include <sql.h>

namespace sorvane::odbc {

// Raises RunFailure for a failed call on `handle`. `context` names what was
// being done, for the case that the driver leaves no diagnostic record.
[[noreturn]] void RaiseDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const char* context);

// Raises unless `result` is SQL_SUCCESS or SQL_SUCCESS_WITH_INFO.
void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context);

}  // namespace sorvane::odbc
