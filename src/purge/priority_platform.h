#pragma once
// The operating system's side of the priority handling, in the numbering of
// the priority tables. One implementation per platform.

#include <cstdint>

namespace sorvane::platform {

// Remembers the calling thread and process for the functions below.
void RecordCurrentThreadAndProcess();

// kThreadLevelUnreadable / kPriorityClassUnreadable when the system cannot say.
std::int32_t ReadThreadPriorityLevel();
std::int32_t ReadProcessPriorityClass();

// Their results are not looked at: a refusal shows in the next reading.
void SetThreadPriorityLevel(std::int32_t threadLevel);
void SetProcessPriorityClass(std::int32_t priorityClass);

}  // namespace sorvane::platform
