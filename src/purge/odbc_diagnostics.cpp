#include "purge/odbc_diagnostics.h"

#include <algorithm>
#include <sqlext.h>
#include <string>

#include "common/run_failure.h"

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
    const std::size_t shown = std::min<std::size_t>(static_cast<std::size_t>(length), sizeof message - 1);
    std::string description = "[";
    description += reinterpret_cast<const char*>(state);
    description += "] ";
    description.append(reinterpret_cast<const char*>(message), shown);
    // Some drivers end their message with a line break; a log line should not.
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ')) {
        description.pop_back();
    }
    throw RunFailure(native, description);
}

void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context) {
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) return;
    RaiseDiagnostic(handleType, handle, context);
}

bool IsConnectionLost(const RunFailure& failure) {
    // Descriptions of driver failures start with "[SQLSTATE]".
    const std::string& text = failure.Description();
    const auto startsWith = [&text](const char* prefix) { return text.rfind(prefix, 0) == 0; };
    return startsWith("[08") || startsWith("[57P01]") || startsWith("[57P02]") ||
           startsWith("[57P03]");
}

}  // namespace sorvane::odbc
