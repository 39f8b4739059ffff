#include "odbc/diagnostics.h"

#include <algorithm>
#include <sqlext.h>

namespace sorvane::odbc {

void RaiseDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const char* context) {
    SQLCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {0};
    SQLSMALLINT length = 0;
    // Only the first record: walking further records has crashed some
    // drivers, and the first one names the cause.
    const SQLRETURN result = handle == SQL_NULL_HANDLE
                                 ? SQL_ERROR
                                 : SQLGetDiagRec(handleType, handle, 1, state, &native, message,
                                                 sizeof message, &length);
    if (result != SQL_SUCCESS && result != SQL_SUCCESS_WITH_INFO) {
        throw RunFailure(0, std::string(context) + " failed; the driver gave no reason");
    }
    const std::string sqlState(reinterpret_cast<const char*>(state));
    const std::size_t shown =
        std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), sizeof message - 1);
    std::string description = "[" + sqlState + "] ";
    // Drivers break their messages over lines (psqlODBC: "...;\nError while
    // executing the query"); a debug.log line or system-log entry must stay
    // one line, so each line break with the blanks around it becomes one
    // blank. A zero byte would cut the message short in the logs.
    bool pendingBreak = false;
    for (std::size_t i = 0; i < shown; ++i) {
        const char c = message[i] == '\0' ? '?' : static_cast<char>(message[i]);
        if (c == '\n' || c == '\r') {
            while (!description.empty() && description.back() == ' ') description.pop_back();
            pendingBreak = true;
        } else if (pendingBreak && c == ' ') {
            continue;
        } else {
            if (pendingBreak) description += ' ';
            pendingBreak = false;
            description += c;
        }
    }
    while (!description.empty() && description.back() == ' ') description.pop_back();
    throw DriverFailure(native, sqlState, description);
}

void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context) {
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) return;
    RaiseDiagnostic(handleType, handle, context);
}

}  // namespace sorvane::odbc
