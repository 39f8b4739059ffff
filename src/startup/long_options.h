#pragma once
// The long options of a command-line run that change what it does rather
// than what it purges.

namespace sorvane {

struct LongOptions {
    // --dry-run: report what a run would do, change nothing.
    bool dryRun = false;
    // --progress: show the progress line and the summary on standard error
    // also when it is no terminal (a log file).
    bool progress = false;
};

}  // namespace sorvane
