// The thread level and the process class are Windows' own: read with
// GetThreadPriority and GetPriorityClass, set with SetThreadPriority and
// SetPriorityClass, in the numbering of the tables. The thread and process
// are kept as the pseudo handles of the calling thread and process (-2 and
// -1), which need no closing.

#include <windows.h>

#include <cstdint>

#include "purge/priority_platform.h"

namespace sorvane::platform {

namespace {

HANDLE Thread(const ThreadAndProcess& task) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(task.thread)); }
HANDLE Process(const ThreadAndProcess& task) { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(task.process)); }

}  // namespace

ThreadAndProcess CurrentThreadAndProcess() {
    return {static_cast<long>(reinterpret_cast<intptr_t>(GetCurrentThread())),
            static_cast<long>(reinterpret_cast<intptr_t>(GetCurrentProcess()))};
}

// GetThreadPriority answers THREAD_PRIORITY_ERROR_RETURN (2147483647) and
// GetPriorityClass 0 when they fail: the tables' "unreadable" values.
std::int32_t ReadThreadPriorityLevel(const ThreadAndProcess& task) { return GetThreadPriority(Thread(task)); }

std::int32_t ReadProcessPriorityClass(const ThreadAndProcess& task) {
    return static_cast<std::int32_t>(GetPriorityClass(Process(task)));
}

void SetThreadPriorityLevel(const ThreadAndProcess& task, std::int32_t threadLevel) {
    SetThreadPriority(Thread(task), threadLevel);
}

void SetProcessPriorityClass(const ThreadAndProcess& task, std::int32_t priorityClass) {
    SetPriorityClass(Process(task), static_cast<DWORD>(priorityClass));
}

}  // namespace sorvane::platform
