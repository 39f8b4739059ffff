#pragma once
// The operating system's side of a run's hold on its backup files: the lock
// on an open file and the mark file beside it. One implementation per
// platform.

#include <string>

namespace sorvane::platform {

enum class LockOutcome { Taken, HeldByOther, Failed };

// Takes the run's lock on the open file `descriptor`: shared (waiting while
// another run holds it alone), or alone without waiting (HeldByOther when
// another run holds it in any way). A lock already held through the same
// descriptor is converted. `why` is set on failure.
LockOutcome LockBackupFile(int descriptor, bool alone, std::string& why);

// Opens the file `path` for reading only, to hold a lock on it while it is
// read: its descriptor, or -1 with the system's error number in `error` and
// its text in `why`.
int OpenBackupFileForReading(const std::string& path, int& error, std::string& why);
void CloseBackupFile(int descriptor);

enum class MarkOutcome { Placed, AlreadyThere, NotPermitted, Failed };

// Creates the file `path` holding `text`, never through a link and never
// over an existing file. NotPermitted: the folder does not let us create it.
// `why` is set unless it was placed or already there.
MarkOutcome PlaceMarkFile(const std::string& path, const std::string& text, std::string& why);

// Removes the file `path`; a failure leaves it there (it only keeps rows).
void RemoveMarkFile(const std::string& path);

long CurrentProcessId();

}  // namespace sorvane::platform
