#pragma once
// The long options of the way back from a backup: --restore=FILE and
// --dry-run. They are taken out of the argument list before the purge
// options are read, so that a file name is never read as an option.

#include <optional>
#include <string>
#include <vector>

namespace sorvane {

struct RestoreArguments {
    std::optional<std::string> file;  // --restore=FILE
    bool dryRun = false;              // --dry-run
};

// Removes every argument that starts with --restore or is --dry-run from
// `arguments`. Raises RunFailure for --restore without a file name.
RestoreArguments TakeRestoreArguments(std::vector<std::string>& arguments);

}  // namespace sorvane
