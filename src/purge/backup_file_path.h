#pragma once
// Where a batch's backup goes.

#include <ctime>
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

}  // namespace sorvane
