#pragma once
// The long options of a command-line run that change what it does rather
// than what it purges.

#include <optional>
#include <string>

namespace sorvane {

struct LongOptions {
    // --dry-run: report what a run would do, change nothing.
    bool dryRun = false;
    // --progress: show the progress line and the summary on standard error
    // also when it is no terminal (a log file).
    bool progress = false;
    // --restore=FILE: read that backup file back into the table instead of
    // purging (with --dry-run: read and convert it, insert nothing).
    std::optional<std::string> restoreFile;
};

}  // namespace sorvane
