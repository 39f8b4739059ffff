#pragma once
// The event log of a command-line run: every entry goes to the system log, and
// each error entry also, as the same line, to standard error, so that cron
// mails the reason of a failure and a systemd unit's journal keeps it, also on
// hosts that keep no system log. Warnings are held back: a run that ends well
// (a batch exported again is a warning) stays silent, a run stopped by a
// signal repeats them at its end, its stop among them.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "common/run_log.h"
#include "startup/status_line.h"

namespace sorvane {

class EchoingEventLog : public EventLogSink {
public:
    // All must outlive this sink; `statusLine`, if given, is shown on `echo`.
    EchoingEventLog(EventLogSink& eventLog, std::ostream& echo, StatusLine* statusLine = nullptr)
        : eventLog_(eventLog), echo_(echo), statusLine_(statusLine) {}

    bool Write(std::int32_t eventType, const std::string& message, std::int16_t eventId,
               std::int16_t category) override;

    // Writes the warnings held back so far, in their order.
    void EchoHeldWarnings();

private:
    EventLogSink& eventLog_;
    std::ostream& echo_;
    StatusLine* statusLine_;
    std::vector<std::string> heldWarnings_;
};

}  // namespace sorvane
