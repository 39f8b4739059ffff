#include "purge/backup_file_fate.h"

#include <sys/stat.h>
#include <unistd.h>

#include "purge/backup_run.h"

namespace sorvane {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

BackupFileFate FateOfBackupFile(const std::string& path, bool overwrite) {
    struct stat status{};
    if (::lstat(path.c_str(), &status) != 0) {
        struct stat folder{};
        const bool folderThere = ::stat(FolderOf(path).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode);
        return folderThere ? BackupFileFate::Created : BackupFileFate::FolderMissing;
    }
    if (!S_ISREG(status.st_mode)) return BackupFileFate::Refused;
    if (!overwrite) return BackupFileFate::AppendedTo;
    struct stat mark{};
    if (::lstat((path + kUnfinishedMarkSuffix).c_str(), &mark) == 0) return BackupFileFate::AppendedToUnfinished;
    if (::access(FolderOf(path).c_str(), W_OK) != 0) return BackupFileFate::AppendedToUnmarked;
    return BackupFileFate::Emptied;
}

}  // namespace sorvane
