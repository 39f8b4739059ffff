#pragma once
// The run's scheduling priority: read back under the names of the two
// priority tables (thread level and process class), and lowered at the start
// of a run so that a long purge gives way to the rest of the machine.

#include <cstdint>
#include <optional>
#include <string>

namespace sorvane {

// Thread levels and process classes in the tables' numbering.
constexpr std::int32_t kThreadLevelUnreadable = 2147483647;
constexpr std::int32_t kThreadPriorityLowest = -2;
constexpr std::int32_t kPriorityClassUnreadable = 0;
constexpr std::int32_t kIdlePriorityClass = 64;

// The table entries; nothing for a value outside the table.
std::optional<std::string> PriorityClassName(std::int32_t priorityClass);
std::optional<std::string> ThreadLevelName(std::int32_t threadLevel);  // without the prefix

// The naming step on two values read from the system: false (texts left
// alone) when either is unreadable; otherwise the class text from its table,
// the thread text from its table, each left as it was for a value outside
// its table, and "THREAD_PRIORITY_" put in front of the thread text.
bool ApplyPriorityNames(std::int32_t threadLevel, std::int32_t priorityClass,
                        std::string& threadText, std::string& classText);

// ApplyPriorityNames on what the system reports for the thread and process
// recorded by the last LowerRunPriority (the calling ones before that).
bool GetPriorityNames(std::string& threadText, std::string& classText);

// Records the calling thread and process; when their priorities can be read,
// lowers them to the lowest thread level and the idle class and, when they
// can be read again, writes "Thread set to: " and "Class set to: " debug
// lines with the names read back.
void LowerRunPriority();

}  // namespace sorvane
