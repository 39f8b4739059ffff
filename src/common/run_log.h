#pragma once
// The two report channels of a run: the debug log ("debug.log" in the current
// folder, only with -debug) and the system's event log (syslog on Linux, the
// Windows event log on Windows).
// Each entry point owns one RunLog and hands it to what it runs.

#include <cstdint>
#include <string>

namespace sorvane {

// Where event-log entries go.
class EventLogSink {
public:
    virtual ~EventLogSink() = default;
    virtual bool Write(std::int32_t eventType, const std::string& message,
                       std::int16_t eventId, std::int16_t category) = 0;
};

// The system log, under the source "Sorvane": one implementation per platform
// (system_log_linux.cpp, event_log_windows.cpp).
class SystemLogSink : public EventLogSink {
public:
    bool Write(std::int32_t eventType, const std::string& message, std::int16_t eventId,
               std::int16_t category) override;
};

class RunLog {
public:
    // Event-log entries go to the system log.
    RunLog();
    // Event-log entries go to `eventLog`, which must outlive the run log.
    explicit RunLog(EventLogSink& eventLog);
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // -debug: from now on WriteDebugLog writes.
    void EnableDebug() { debugEnabled_ = true; }
    bool DebugEnabled() const { return debugEnabled_; }

    // Appends "<general date>: <message>" CR LF to debug.log when debugging
    // is on, opening and closing the file for each line. Raises RunFailure
    // when the file cannot be written.
    void WriteDebugLog(const std::string& message) const;

    // Writes one entry to the event log. Never raises; returns non-zero when
    // the entry was written.
    std::int16_t WriteEventLogEntry(std::int32_t eventType, const std::string& message,
                                    std::int16_t eventId, std::int16_t category) const;

private:
    SystemLogSink systemLog_;
    EventLogSink& eventLog_;
    bool debugEnabled_ = false;
};

}  // namespace sorvane
