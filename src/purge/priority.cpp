#include "purge/priority.h"

#include <optional>
#include <string>

#include "common/run_log.h"
#include "purge/priority_platform.h"

namespace sorvane {

namespace {

std::optional<std::string> PriorityClassName(std::int32_t priorityClass) {
    switch (priorityClass) {
        case 32: return "NORMAL_PRIORITY_CLASS";
        case 64: return "IDLE_PRIORITY_CLASS";
        case 128: return "HIGH_PRIORITY_CLASS";
        case 256: return "IREALTIME_PRIORITY_CLASS";
        default: return std::nullopt;
    }
}

std::optional<std::string> ThreadLevelName(std::int32_t threadLevel) {
    switch (threadLevel) {
        case -15: return "IDLE";
        case -2: return "LOWEST";
        case -1: return "BELOW_NORMAL";
        case 0: return "NORMAL";
        case 1: return "ABOVE_NORMAL";
        case 2: return "HIGHEST";
        case 15: return "TIME_CRITICAL";
        default: return std::nullopt;
    }
}

// False (texts left alone) when either value is unreadable; otherwise each
// text from its table, left as it was for a value outside the table, and the
// prefix put in front of the thread text.
bool ReadPriorityNames(const platform::ThreadAndProcess& task, std::string& threadText,
                       std::string& classText) {
    const std::int32_t threadLevel = platform::ReadThreadPriorityLevel(task);
    const std::int32_t priorityClass = platform::ReadProcessPriorityClass(task);
    if (threadLevel == kThreadLevelUnreadable || priorityClass == kPriorityClassUnreadable) {
        return false;
    }
    if (auto name = PriorityClassName(priorityClass)) classText = *name;
    if (auto name = ThreadLevelName(threadLevel)) threadText = *name;
    threadText = "THREAD_PRIORITY_" + threadText;
    return true;
}

}  // namespace

void LowerRunPriority(const RunLog& log) {
    const platform::ThreadAndProcess task = platform::CurrentThreadAndProcess();
    std::string threadText;
    std::string classText;
    if (!ReadPriorityNames(task, threadText, classText)) return;
    platform::SetThreadPriorityLevel(task, kThreadPriorityLowest);
    platform::SetProcessPriorityClass(task, kIdlePriorityClass);
    // The same two texts again: a value that is still outside its table
    // keeps what the first reading gave it.
    if (ReadPriorityNames(task, threadText, classText)) {
        log.WriteDebugLog("Thread set to: " + threadText);
        log.WriteDebugLog("Class set to: " + classText);
    }
}

}  // namespace sorvane
