#pragma once
// The two report channels: the debug log ("debug.log" in the current folder,
// only with -debug) and the system's event log (syslog on Linux).

#include <cstdint>
#include <string>

namespace sorvane {

// Program-wide; -1 only after -debug. WriteDebugLog writes only when it is -1.
extern std::int16_t debugEnabled;

// Appends "<general date>: <message>" CR LF to debug.log, opening and closing
// the file for each line. Raises RunFailure when the file cannot be written.
void WriteDebugLog(const std::string& message);

// Where event-log entries go. Replaceable so that tests can see every entry.
class EventLogSink {
public:
    virtual ~EventLogSink() = default;
    virtual bool Write(std::int32_t eventType, const std::string& message,
                       std::int16_t eventId, std::int16_t category) = 0;
};

// nullptr restores the system log.
void SetEventLogSink(EventLogSink* sink);

// Writes one entry under the source "Sorvane". Never raises; returns non-zero
// when the entry was written.
std::int16_t WriteEventLogEntry(std::int32_t eventType, const std::string& message,
                                std::int16_t eventId, std::int16_t category);

}  // namespace sorvane
