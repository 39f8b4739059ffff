#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "purge/priority.h"

namespace sorvane {
namespace {

struct NamesCase {
    std::int32_t threadLevel;
    std::int32_t priorityClass;
    bool result;
    const char* threadText;
    const char* classText;
};

TEST(PriorityNames, TablesNameWhatTheSystemReports) {
    const NamesCase cases[] = {
        {0, 32, true, "THREAD_PRIORITY_NORMAL", "NORMAL_PRIORITY_CLASS"},
        {-2, 64, true, "THREAD_PRIORITY_LOWEST", "IDLE_PRIORITY_CLASS"},
        {-15, 128, true, "THREAD_PRIORITY_IDLE", "HIGH_PRIORITY_CLASS"},
        {15, 256, true, "THREAD_PRIORITY_TIME_CRITICAL", "IREALTIME_PRIORITY_CLASS"},
        {-1, 32, true, "THREAD_PRIORITY_BELOW_NORMAL", "NORMAL_PRIORITY_CLASS"},
        {1, 32, true, "THREAD_PRIORITY_ABOVE_NORMAL", "NORMAL_PRIORITY_CLASS"},
        {2, 32, true, "THREAD_PRIORITY_HIGHEST", "NORMAL_PRIORITY_CLASS"},
        // Outside the tables: the texts stay as they were, the prefix comes anyway.
        {7, 16384, true, "THREAD_PRIORITY_", ""},
        // Unreadable: false, texts untouched.
        {kThreadLevelUnreadable, 32, false, "", ""},
        {0, kPriorityClassUnreadable, false, "", ""},
    };
    for (const auto& c : cases) {
        std::string threadText;
        std::string classText;
        EXPECT_EQ(ApplyPriorityNames(c.threadLevel, c.priorityClass, threadText, classText), c.result);
        EXPECT_EQ(threadText, c.threadText) << c.threadLevel;
        EXPECT_EQ(classText, c.classText) << c.priorityClass;
    }
}

// Runs `body` in a child process (the lowering cannot be undone) and returns
// what it printed.
template <typename Body>
std::string InChild(Body body) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const std::string out = body();
        if (::write(fds[1], out.data(), out.size()) < 0) ::_exit(2);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return out;
}

TEST(PriorityLowering, AProcessStartedNicedReadsOutsideTheTableThenIdle) {
    const std::string out = InChild([] {
        ::setpriority(PRIO_PROCESS, 0, 5);
        std::string threadText;
        std::string classText;
        std::string out = GetPriorityNames(threadText, classText) ? "read" : "unread";
        out += "|" + threadText + "|" + classText;
        LowerRunPriority();
        const bool again = GetPriorityNames(threadText, classText);
        out += std::string("|") + (again ? "read" : "unread") + "|" + threadText + "|" + classText;
        out += "|nice " + std::to_string(::getpriority(PRIO_PROCESS, 0));
        return out;
    });
    EXPECT_EQ(out,
              "read|THREAD_PRIORITY_BELOW_NORMAL||read|THREAD_PRIORITY_LOWEST|IDLE_PRIORITY_CLASS|nice 19");
}

}  // namespace
}  // namespace sorvane
