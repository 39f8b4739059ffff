#pragma once
// The operating system's side of the priority handling, in the numbering of
// the priority tables. One implementation per platform.

#include <cstdint>

namespace sorvane::platform {

// A thread and its process, as the system numbers them.
struct ThreadAndProcess {
    long thread = 0;
    long process = 0;
};

ThreadAndProcess CurrentThreadAndProcess();

// kThreadLevelUnreadable / kPriorityClassUnreadable when the system cannot say.
std::int32_t ReadThreadPriorityLevel(const ThreadAndProcess& task);
std::int32_t ReadProcessPriorityClass(const ThreadAndProcess& task);

// Their results are not looked at: a refusal shows in the next reading.
void SetThreadPriorityLevel(const ThreadAndProcess& task, std::int32_t threadLevel);
void SetProcessPriorityClass(const ThreadAndProcess& task, std::int32_t priorityClass);

}  // namespace sorvane::platform
