// The file's fate told from its attributes (GetFileAttributesW). Whether the
// folder takes the mark depends on its access rights, which only an attempt
// tells; a folder that is there is taken to take it, and a run that finds it
// does not appends unmarked.

#include <windows.h>

#include "common/windows_text.h"
#include "purge/backup_file_fate.h"
#include "purge/backup_run.h"

namespace sorvane {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

DWORD AttributesOf(const std::string& path) { return GetFileAttributesW(windows::WideFromUtf8(path).c_str()); }

}  // namespace

BackupFileFate FateOfBackupFile(const std::string& path, bool overwrite) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD folder = AttributesOf(FolderOf(path));
        const bool folderThere = folder != INVALID_FILE_ATTRIBUTES && (folder & FILE_ATTRIBUTE_DIRECTORY) != 0;
        return folderThere ? BackupFileFate::Created : BackupFileFate::FolderMissing;
    }
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return BackupFileFate::Refused;
    }
    if (!overwrite) return BackupFileFate::AppendedTo;
    if (AttributesOf(path + kUnfinishedMarkSuffix) != INVALID_FILE_ATTRIBUTES) {
        return BackupFileFate::AppendedToUnfinished;
    }
    return BackupFileFate::Emptied;
}

}  // namespace sorvane
