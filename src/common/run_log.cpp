#include "common/run_log.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "common/private_file.h"
#include "common/run_failure.h"
#include "common/regional.h"

namespace sorvane {

namespace {

constexpr const char* kDebugLogName = "debug.log";

[[noreturn]] void RaiseDebugLogFailure(const std::string& why) {
    throw RunFailure(kFileAccess, std::string("Cannot write ") + kDebugLogName + ": " + why);
}

[[noreturn]] void RaiseDebugLogFailure(int error) { RaiseDebugLogFailure(std::strerror(error)); }

}  // namespace

RunLog::RunLog() : eventLog_(systemLog_) {}

RunLog::RunLog(EventLogSink& eventLog) : eventLog_(eventLog) {}

void RunLog::WriteDebugLog(const std::string& message) const {
    if (!debugEnabled_) return;

    const std::string line = FormatGeneralDateNow() + ": " + message + "\r\n";
    // Opened and closed for every line so that nothing stays open between
    // calls and other programs can read the log while a run goes on.
    const OpenedFile log = OpenPrivateFileForAppending(kDebugLogName);
    if (log.descriptor < 0) RaiseDebugLogFailure(log.refusal);
    const int fd = log.descriptor;
    std::size_t written = 0;
    while (written < line.size()) {
        const ssize_t n = ::write(fd, line.data() + written, line.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            RaiseDebugLogFailure(error);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) RaiseDebugLogFailure(errno);
}

std::int16_t RunLog::WriteEventLogEntry(std::int32_t eventType, const std::string& message,
                                        std::int16_t eventId, std::int16_t category) const {
    try {
        return eventLog_.Write(eventType, message, eventId, category) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

}  // namespace sorvane
