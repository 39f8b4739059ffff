#include "support/run_program.h"

#include <sys/wait.h>

#include <cstdio>
#include <stdexcept>

namespace sorvane::test {

namespace {

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramOptions& options) {
    // timeout passes the program's own end on; its SIGALRM after two minutes makes a
    // hanging program fail its test instead of stalling the suite.
    std::string removals;  // env takes them before any setting
    std::string settings;
    for (const auto& [name, value] : options.environment) {
        if (value) settings += " " + ShellQuoted(name + "=" + *value);
        else removals += " -u " + ShellQuoted(name);
    }
    std::string command = "exec timeout --preserve-status -s ALRM 120 env" + removals + settings;
    command += " " + ShellQuoted(program);
    for (const auto& argument : arguments) command += " " + ShellQuoted(argument);
    command += " </dev/null 2>&1";
    if (!options.currentDir.empty()) {
        command = "cd " + ShellQuoted(options.currentDir.string()) + " && " + command;
    }

    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot start " + program);
    ProgramRun run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (status == -1) throw std::runtime_error("cannot wait for " + program);
    run.exited = WIFEXITED(status);
    run.exitStatus = run.exited ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return run;
}

}  // namespace sorvane::test
