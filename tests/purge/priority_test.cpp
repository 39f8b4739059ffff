#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "purge/priority.h"

namespace sorvane {
namespace {

TEST(PriorityNames, OutsideTheTablesTheTextsStayAndUnreadableValuesAreNoAnswer) {
    const struct {
        std::int32_t threadLevel;
        std::int32_t priorityClass;
        bool result;
        const char* threadText;
    } cases[] = {
        {7, 16384, true, "THREAD_PRIORITY_"},  // the prefix comes anyway
        {kThreadLevelUnreadable, 32, false, ""},
        {0, kPriorityClassUnreadable, false, ""},
    };
    for (const auto& c : cases) {
        std::string threadText;
        std::string classText;
        EXPECT_EQ(ApplyPriorityNames(c.threadLevel, c.priorityClass, threadText, classText), c.result);
        EXPECT_EQ(threadText, c.threadText) << c.threadLevel;
        EXPECT_EQ(classText, "") << c.priorityClass;
    }
}

// The lowering cannot be undone, so it runs in a child that reports through a pipe.
TEST(PriorityLowering, AProcessStartedNicedReadsOutsideTheTableThenIdle) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::setpriority(PRIO_PROCESS, 0, 5);
        std::string thread;
        std::string process;
        std::string out = GetPriorityNames(thread, process) ? "read|" : "unread|";
        out += thread + "|" + process;
        LowerRunPriority();
        out += GetPriorityNames(thread, process) ? "|read|" : "|unread|";
        out += thread + "|" + process + "|nice " + std::to_string(::getpriority(PRIO_PROCESS, 0));
        ::_exit(::write(fds[1], out.data(), out.size()) < 0 ? 2 : 0);
    }
    ::close(fds[1]);
    std::string out;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, std::size_t(n));
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(out,
              "read|THREAD_PRIORITY_BELOW_NORMAL||read|THREAD_PRIORITY_LOWEST|IDLE_PRIORITY_CLASS|nice 19");
}

}  // namespace
}  // namespace sorvane
