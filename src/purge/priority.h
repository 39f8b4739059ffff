#pragma once
// The run's scheduling priority, lowered at the start of a run so that a long
// purge gives way to the rest of the machine, and read back under the names
// of the two priority tables (thread level and process class).

#include <cstdint>

namespace sorvane {

class RunLog;

// Thread levels and process classes in the tables' numbering.
constexpr std::int32_t kThreadLevelUnreadable = 2147483647;
constexpr std::int32_t kThreadPriorityLowest = -2;
constexpr std::int32_t kPriorityClassUnreadable = 0;
constexpr std::int32_t kIdlePriorityClass = 64;

// When the calling thread's and process's priorities can be read, lowers them
// to the lowest thread level and the idle class and, when they can be read
// again, writes "Thread set to: " and "Class set to: " debug lines with the
// names read back. A value outside its table keeps the text of the reading
// before; the thread text always gets the prefix "THREAD_PRIORITY_".
void LowerRunPriority(const RunLog& log);

}  // namespace sorvane
