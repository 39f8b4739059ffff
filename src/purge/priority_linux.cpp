// Linux has no thread levels or process classes; they are read from and set
// through nice values and scheduling policies:
//   class:  realtime policy -> 256, SCHED_IDLE or nice 19 -> 64 (idle),
//           nice 0 -> 32 (normal), nice -10 and below -> 128 (high); other
//           nice values map to the below/above-normal classes (16384/32768),
//           which have no name in the table.
//   thread: realtime policy -> 15, SCHED_IDLE or nice 10..19 -> -2 (lowest),
//           nice 1..9 -> -1, 0 -> 0, -1..-9 -> 1, -10..-19 -> 2, -20 -> 15.
// Lowering the class renices every thread of the process to 19 and moves its
// disk access to the idle I/O class; lowering the thread level to -2 also
// puts the thread under SCHED_IDLE.

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "purge/priority.h"
#include "purge/priority_platform.h"

namespace sorvane::platform {

namespace {

constexpr std::int32_t kBelowNormalPriorityClass = 16384;
constexpr std::int32_t kAboveNormalPriorityClass = 32768;
constexpr int kIoprioWhoProcess = 1;
constexpr int kIoprioClassIdle = 3;
constexpr int kIoprioClassShift = 13;

pid_t Thread(const ThreadAndProcess& task) { return static_cast<pid_t>(task.thread); }
pid_t Process(const ThreadAndProcess& task) { return static_cast<pid_t>(task.process); }

bool IsRealtime(int policy) { return policy == SCHED_FIFO || policy == SCHED_RR; }

// The nice value of one thread; false when it cannot be read (getpriority
// returns -1 both as a value and as its failure).
bool ReadNice(pid_t id, int& nice) {
    errno = 0;
    nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(id));
    return !(nice == -1 && errno != 0);
}

int NiceOfThreadLevel(std::int32_t threadLevel) {
    if (threadLevel <= -2) return 19;
    if (threadLevel == -1) return 5;
    if (threadLevel == 0) return 0;
    if (threadLevel == 1) return -5;
    if (threadLevel == 2) return -10;
    return -20;
}

int NiceOfPriorityClass(std::int32_t priorityClass) {
    switch (priorityClass) {
        case 64: return 19;
        case kBelowNormalPriorityClass: return 5;
        case 32: return 0;
        case kAboveNormalPriorityClass: return -5;
        case 128: return -10;
        default: return -20;
    }
}

void SetIdleIoClass(pid_t id) {
    ::syscall(SYS_ioprio_set, kIoprioWhoProcess, id, kIoprioClassIdle << kIoprioClassShift);
}

}  // namespace

ThreadAndProcess CurrentThreadAndProcess() { return {::gettid(), ::getpid()}; }

std::int32_t ReadThreadPriorityLevel(const ThreadAndProcess& task) {
    const int policy = ::sched_getscheduler(Thread(task));
    int nice = 0;
    if (policy == -1 || !ReadNice(Thread(task), nice)) return kThreadLevelUnreadable;
    if (IsRealtime(policy)) return 15;
    if (policy == SCHED_IDLE || nice >= 10) return -2;
    if (nice > 0) return -1;
    if (nice == 0) return 0;
    if (nice > -10) return 1;
    if (nice > -20) return 2;
    return 15;
}

std::int32_t ReadProcessPriorityClass(const ThreadAndProcess& task) {
    const int policy = ::sched_getscheduler(Process(task));
    int nice = 0;
    if (policy == -1 || !ReadNice(Process(task), nice)) return kPriorityClassUnreadable;
    if (IsRealtime(policy)) return 256;
    if (policy == SCHED_IDLE || nice == 19) return kIdlePriorityClass;
    if (nice == 0) return 32;
    if (nice > 0) return kBelowNormalPriorityClass;
    if (nice > -10) return kAboveNormalPriorityClass;
    return 128;
}

void SetThreadPriorityLevel(const ThreadAndProcess& task, std::int32_t threadLevel) {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(Thread(task)), NiceOfThreadLevel(threadLevel));
    if (threadLevel <= kThreadPriorityLowest) {
        const sched_param parameters{};
        ::sched_setscheduler(Thread(task), SCHED_IDLE, &parameters);
    }
}

void SetProcessPriorityClass(const ThreadAndProcess& task, std::int32_t priorityClass) {
    const int nice = NiceOfPriorityClass(priorityClass);
    // A nice value belongs to one thread on Linux: give it to all of them.
    std::error_code ignored;
    const std::string threads = "/proc/" + std::to_string(task.process) + "/task";
    for (const auto& entry : std::filesystem::directory_iterator(threads, ignored)) {
        const std::string name = entry.path().filename().string();
        const pid_t id = static_cast<pid_t>(std::strtol(name.c_str(), nullptr, 10));
        if (id <= 0) continue;
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(id), nice);
        if (priorityClass == kIdlePriorityClass) SetIdleIoClass(id);
    }
}

}  // namespace sorvane::platform
