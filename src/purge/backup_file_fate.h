#pragma once
// What a run's first batch would do to its backup file, told from the file
// system alone: without opening the file, taking its lock or placing a mark.

#include <string>

namespace sorvane {

enum class BackupFileFate {
    Created,              // not there yet
    AppendedTo,           // there, and overwrite is off
    Emptied,              // there, overwrite on, no mark, the folder takes one
    AppendedToUnfinished, // overwrite on, but a mark says a run writing it has not finished
    AppendedToUnmarked,   // overwrite on, but the folder takes no mark
    Refused,              // something other than a regular file at its name
    FolderMissing,        // the run fails: the folder is not there
};

// The fate of the backup file at `path` for a run with overwrite on or off.
// A run writing the file at this moment would hold its mark too, so it is
// told as AppendedToUnfinished (the real run then fails when overwrite is on).
BackupFileFate FateOfBackupFile(const std::string& path, bool overwrite);

}  // namespace sorvane
