#pragma once
// Where a batch's backup goes, and how the file is opened across the batches
// of one run.

#include <ctime>
#include <set>
#include <string>

#include "purge/purge_settings.h"

namespace sorvane {

// Whether `overwrite` or `includeDate` equals 1, compared as numbers. A text
// that does not read as a number raises RunFailure kTypeMismatch naming
// `what`.
bool IsOn(const NumberOrText& flag, const char* what);

// filePath + file name: "yyyy-mm-dd-" of `today` in front when includeDate
// is on; fileName + fileExtension. An empty filePath means the current
// folder; a filePath ending in '/' or '\' already ends its folder, any other
// gets '/' put after it.
std::string BackupFilePath(const PurgeSettings& settings, const std::tm& today);

// The backup files one run has opened. With overwrite on, a file is emptied
// only the first time the run opens it, so every batch of the run stays in
// it; a run passing midnight empties the new day's file at its own first
// opening.
class BackupRun {
public:
    // True the first time `path` is named in this run; later calls false.
    bool FirstOpening(const std::string& path) { return opened_.insert(path).second; }

private:
    std::set<std::string> opened_;
};

}  // namespace sorvane
