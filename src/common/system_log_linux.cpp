// Event-log entries go to syslog: ident "Sorvane", facility user, the event
// type as the priority.

#include <syslog.h>

#include "common/run_log.h"

namespace sorvane {

namespace {

int SyslogPriorityOf(std::int32_t eventType) {
    switch (eventType) {
        case 1: return LOG_ERR;
        case 2: return LOG_WARNING;
        case 4: return LOG_INFO;
        default: return LOG_NOTICE;
    }
}

}  // namespace

bool SystemLogSink::Write(std::int32_t eventType, const std::string& message, std::int16_t /*eventId*/,
                          std::int16_t /*category*/) {
    openlog("Sorvane", LOG_PID, LOG_USER);
    syslog(LOG_USER | SyslogPriorityOf(eventType), "%s", message.c_str());
    closelog();
    return true;
}

}  // namespace sorvane
