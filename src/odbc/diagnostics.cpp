#include "odbc/diagnostics.h"

#include <algorithm>
#include <optional>
#include <vector>
#include <sqlext.h>

namespace sorvane::odbc {

namespace {

// At most this many records are read: a driver may stack a record for every
// statement of a batch, and one line in a log must stay readable.
constexpr SQLSMALLINT kMostRecordsRead = 8;

// Record `number` of the handle, or nothing when there is none.
std::optional<DiagnosticRecord> ReadRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT number) {
    SQLCHAR state[6] = {0};
    SQLINTEGER native = 0;
    SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {0};
    SQLSMALLINT length = 0;
    const SQLRETURN result =
        SQLGetDiagRec(handleType, handle, number, state, &native, message, sizeof message, &length);
    if (result != SQL_SUCCESS && result != SQL_SUCCESS_WITH_INFO) return std::nullopt;
    const std::size_t shown =
        std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), sizeof message - 1);
    return DiagnosticRecord{reinterpret_cast<const char*>(state), native,
                            std::string(reinterpret_cast<const char*>(message), shown)};
}

// "[SQLSTATE] message" on one line: drivers break their messages over lines
// (psqlODBC: "...;\nError while executing the query"), and a debug.log line or
// system-log entry must stay one line, so each line break with the blanks
// around it becomes one blank. A zero byte would cut the message short in the
// logs.
std::string OneLine(const DiagnosticRecord& record) {
    std::string line = "[" + record.sqlState + "] ";
    bool pendingBreak = false;
    for (const char byte : record.message) {
        const char c = byte == '\0' ? '?' : byte;
        if (c == '\n' || c == '\r') {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            pendingBreak = true;
        } else if (pendingBreak && c == ' ') {
            continue;
        } else {
            if (pendingBreak) line += ' ';
            pendingBreak = false;
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

std::string DescribeRecords(const std::vector<DiagnosticRecord>& records) {
    std::vector<std::string> lines;
    std::string description;
    for (const DiagnosticRecord& record : records) {
        std::string line = OneLine(record);
        if (std::find(lines.begin(), lines.end(), line) != lines.end()) continue;
        description += (description.empty() ? "" : "; ") + line;
        lines.push_back(std::move(line));
    }
    return description;
}

void RaiseDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle, const char* context) {
    std::vector<DiagnosticRecord> records;
    for (SQLSMALLINT number = 1; handle != SQL_NULL_HANDLE && number <= kMostRecordsRead; ++number) {
        std::optional<DiagnosticRecord> record = ReadRecord(handleType, handle, number);
        if (!record) break;
        records.push_back(std::move(*record));
    }
    if (records.empty()) {
        throw RunFailure(0, std::string(context) + " failed; the driver gave no reason");
    }
    // The first record names the cause and gives the failure its number and
    // SQLSTATE; later ones (a server's detail, a driver's own context) follow
    // on the same line.
    throw DriverFailure(records.front().native, records.front().sqlState, DescribeRecords(records));
}

void Check(SQLRETURN result, SQLSMALLINT handleType, SQLHANDLE handle, const char* context) {
    if (result == SQL_SUCCESS || result == SQL_SUCCESS_WITH_INFO) return;
    RaiseDiagnostic(handleType, handle, context);
}

}  // namespace sorvane::odbc
