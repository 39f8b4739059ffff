#include "purge/priority.h"

#include "purge/priority_platform.h"
#include "common/reporting.h"

namespace sorvane {

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

bool ApplyPriorityNames(std::int32_t threadLevel, std::int32_t priorityClass,
                        std::string& threadText, std::string& classText) {
    if (threadLevel == kThreadLevelUnreadable || priorityClass == kPriorityClassUnreadable) {
        return false;
    }
    if (auto name = PriorityClassName(priorityClass)) classText = *name;
    if (auto name = ThreadLevelName(threadLevel)) threadText = *name;
    threadText = "THREAD_PRIORITY_" + threadText;
    return true;
}

bool GetPriorityNames(std::string& threadText, std::string& classText) {
    return ApplyPriorityNames(platform::ReadThreadPriorityLevel(),
                              platform::ReadProcessPriorityClass(), threadText, classText);
}

void LowerRunPriority() {
    platform::RecordCurrentThreadAndProcess();
    std::string threadText;
    std::string classText;
    if (!GetPriorityNames(threadText, classText)) return;
    platform::SetThreadPriorityLevel(kThreadPriorityLowest);
    platform::SetProcessPriorityClass(kIdlePriorityClass);
    // The same two texts again: a value that is still outside its table
    // keeps what the first reading gave it.
    if (GetPriorityNames(threadText, classText)) {
        WriteDebugLog("Thread set to: " + threadText);
        WriteDebugLog("Class set to: " + classText);
    }
}

}  // namespace sorvane
