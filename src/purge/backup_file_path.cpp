#include "purge/backup_file_path.h"

#include <cstdio>

#include "common/run_failure.h"
#include "common/regional.h"

namespace sorvane {

bool IsOn(const NumberOrText& flag, const char* what) {
    if (const int* number = std::get_if<int>(&flag)) return *number == 1;
    const std::string& text = std::get<std::string>(flag);
    const std::optional<double> number = ReadNumber(text);
    if (!number) {
        throw RunFailure(kTypeMismatch, std::string("Type mismatch: the value \"") + text +
                                            "\" of " + what + " is not a number");
    }
    return *number == 1;
}

std::string BackupFilePath(const PurgeSettings& settings, const std::tm& today) {
    std::string name = settings.fileName + settings.fileExtension;
    if (IsOn(settings.includeDate, "includedate")) {
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d-", today.tm_year + 1900, today.tm_mon + 1,
                      today.tm_mday);
        name = date + name;
    }
    const std::string& folder = settings.filePath;
    if (folder.empty()) return name;
    if (folder.back() == '/' || folder.back() == '\\') return folder + name;
    return folder + "/" + name;
}

}  // namespace sorvane
