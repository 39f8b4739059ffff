// Event-log entries go to the Windows event log of the local computer under
// the source "Sorvane": the entry's type, category and event ID as given, one
// insertion string (the message in the ANSI code page), no user, no data.
// The source is registered with no message file, so the string is the whole
// entry.

#include <windows.h>

#include "common/run_log.h"
#include "common/windows_text.h"

namespace sorvane {

bool SystemLogSink::Write(std::int32_t eventType, const std::string& message, std::int16_t eventId,
                          std::int16_t category) {
    HANDLE source = RegisterEventSource(nullptr, "Sorvane");
    if (source == nullptr) return false;
    const std::string text = windows::AnsiFromUtf8(message);
    LPCSTR strings[] = {text.c_str()};
    const BOOL reported = ReportEvent(source, static_cast<WORD>(eventType), static_cast<WORD>(category),
                                      static_cast<DWORD>(static_cast<std::uint16_t>(eventId)), nullptr, 1, 0,
                                      strings, nullptr);
    // Released also when the report failed, so that no handle is left open.
    const BOOL released = DeregisterEventSource(source);
    return reported && released;
}

}  // namespace sorvane
