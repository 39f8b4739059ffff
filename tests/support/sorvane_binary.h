#pragma once
// The built program run as a scheduler runs it, with a fixed UTF-8 locale and
// no display (offscreen Qt counts as one), and what its command lines share.

#include <gtest/gtest.h>
#include <time.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "support/odbc_test_env.h"
#include "support/run_program.h"

namespace sorvane::test {

// On a terminal: through a pseudo-terminal, which turns "\n" into "\r\n".
inline ProgramRun RunSorvane(const std::filesystem::path& currentDir, std::vector<std::string> arguments,
                             bool onTerminal = false) {
    EnsureTestOdbcEnvironment();
    ProgramOptions options{currentDir, {{"LC_ALL", "C.UTF-8"}, {"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}},
                                        {"QT_QPA_PLATFORM", {}}}};
    std::string program = SORVANE_BINARY;
    if (onTerminal) {
        arguments.insert(arguments.begin(), program);
        program = SORVANE_SOURCE_DIR "/tests/support/run_in_pty.py";
    }
    ProgramRun run = RunProgram(program, arguments, options);
    EXPECT_TRUE(run.exited) << "signal " << run.signal;
    return run;
}

// "YYYY-MM-DD" of the local day so many days from today.
inline std::string LocalDate(int daysFromToday) {
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

inline void AppendCredentials(std::vector<std::string>& arguments, const TestDataSource& source) {
    if (!source.userName.empty()) arguments.push_back("-user=" + source.userName);
    if (!source.password.empty()) arguments.push_back("-pass=" + source.password);
}

}  // namespace sorvane::test
