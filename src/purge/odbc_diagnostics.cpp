#include "purge/odbc_diagnostics.h"

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
    description.append(reinterpret_cast<const char*>(message), shown);
    // A zero byte inside the message would cut it short in the logs.
    std::replace(description.begin(), description.end(), '\0', '?');
    // Some drivers end their message with a line break; a log line should not.
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ')) {
        description.pop_back();
    }
    throw DriverFailure(native, sqlState, description);
}

void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context) {
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) return;
    RaiseDiagnostic(handleType, handle, context);
}

bool IsConnectionLost(const DriverFailure& failure) {
    const std::string& state = failure.SqlState();
    if (state.starts_with("08") || state == "57P01" || state == "57P02" || state == "57P03") return true;
    // MariaDB's connector reports a socket the server has already closed as
    // a general error with its client's own number: server gone (2006), lost
    // (2013), read or write error (5013, 5014).
    const long native = failure.Number();
    return state == "HY000" && (native == 2006 || native == 2013 || native == 5013 || native == 5014);
}

}  // namespace sorvane::odbc
