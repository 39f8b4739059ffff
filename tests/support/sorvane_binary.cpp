#include "support/sorvane_binary.h"

#include <gtest/gtest.h>
#include <time.h>

#include <ctime>

namespace sorvane::test {

ProgramRun RunSorvane(const std::filesystem::path& currentDir, const std::vector<std::string>& arguments,
                      bool onTerminal) {
    EnsureTestOdbcEnvironment();
    ProgramOptions options{currentDir, {{"LC_ALL", "C.UTF-8"}, {"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}},
                                        {"QT_QPA_PLATFORM", {}}}};
    std::vector<std::string> all = arguments;
    std::string program = SORVANE_BINARY;
    if (onTerminal) {
        all.insert(all.begin(), program);
        program = SORVANE_SOURCE_DIR "/tests/support/run_in_pty.py";
    }
    ProgramRun run = RunProgram(program, all, options);
    EXPECT_TRUE(run.exited) << "signal " << run.signal;
    return run;
}

std::string LocalDate(int daysFromToday) {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    ::localtime_r(&now, &day);
    day.tm_mday += daysFromToday;
    day.tm_hour = 12;  // away from daylight-saving changes
    day.tm_isdst = -1;
    std::mktime(&day);
    char text[16];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d", &day));
}

void AppendCredentials(std::vector<std::string>& arguments, const TestDataSource& source) {
    if (!source.userName.empty()) arguments.push_back("-user=" + source.userName);
    if (!source.password.empty()) arguments.push_back("-pass=" + source.password);
}

}  // namespace sorvane::test
