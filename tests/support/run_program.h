#pragma once
// Runs a program as a scheduler would: its own current folder, a chosen
// environment, no input, standard output and standard error captured together.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::test {

struct ProgramRun {
    bool exited = false;  // false: ended by a signal (SIGALRM: ran past two minutes)
    int exitStatus = -1;  // when exited
    int signal = 0;       // when not exited
    std::string output;
};

struct ProgramOptions {
    std::filesystem::path currentDir;
    std::map<std::string, std::optional<std::string>> environment;  // nothing: removed
};

// `arguments` without the program's own name; std::runtime_error when it cannot start.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramOptions& options = {});

}  // namespace sorvane::test
