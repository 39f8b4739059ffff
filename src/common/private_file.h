#pragma once
// Opening the files a run writes (backup files and debug.log) so that a
// folder other users can write to cannot redirect, block or expose them.

#include <string>

namespace sorvane {

struct OpenedFile {
    int descriptor = -1;     // open for appending, or -1
    bool created = false;    // this opening made the file
    std::string refusal;     // why it was not opened, when descriptor is -1
};

// Opens `path` for appending, creating it with mode 0600 (less the umask)
// when it is not there; an existing file keeps its mode. Never follows a
// symbolic link, never waits (a FIFO or a device is refused, not opened for
// good), writes only to a regular file, and refuses a file owned by another
// user, or one with other names (hard links), in a folder that others can
// write to: that user could read or remove the rows, or the link could lead
// to a file of ours elsewhere.
OpenedFile OpenPrivateFileForAppending(const std::string& path);

// The folder holding `path`: "." for a bare name, "/" for a name right
// under the root.
std::string FolderOf(const std::string& path);

}  // namespace sorvane
