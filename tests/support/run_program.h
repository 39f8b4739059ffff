#pragma once
// Runs a program as a child process, the way a scheduler would: its own
// current folder, a chosen environment, standard output captured.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::test {

struct ProgramRun {
    bool exited = false;    // false: ended by a signal (a crash)
    int exitStatus = -1;    // when exited
    int signal = 0;         // when not exited (SIGALRM: ran past the time limit)
    std::string output;     // standard output and standard error together
};

struct ProgramOptions {
    std::filesystem::path currentDir;
    // Variables to set (a value) or to remove (nothing) in the child.
    std::map<std::string, std::optional<std::string>> environment;
    // A child still running after this long is ended by SIGALRM, so that a
    // hanging program fails its test quickly instead of stalling the suite.
    unsigned timeoutSeconds = 120;
};

// Runs program with the arguments (without the program's own name) and waits
// for it. Raises std::runtime_error when it cannot be started at all.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramOptions& options);

}  // namespace sorvane::test
