#include "startup/echoing_event_log.h"

namespace sorvane {

namespace {

constexpr std::int32_t kErrorEventType = 1;

}  // namespace

bool EchoingEventLog::Write(std::int32_t eventType, const std::string& message, std::int16_t eventId,
                            std::int16_t category) {
    const bool written = eventLog_.Write(eventType, message, eventId, category);
    if (eventType == kErrorEventType) {
        if (statusLine_ != nullptr) statusLine_->Finish();
        echo_ << message << std::endl;
    } else {
        heldWarnings_.push_back(message);
    }
    return written;
}

void EchoingEventLog::EchoHeldWarnings() {
    if (statusLine_ != nullptr && !heldWarnings_.empty()) statusLine_->Finish();
    for (const std::string& warning : heldWarnings_) echo_ << warning << '\n';
    echo_.flush();
    heldWarnings_.clear();
}

}  // namespace sorvane
