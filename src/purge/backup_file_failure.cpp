// The failures of a backup file, worded alike on every platform.

#include <cerrno>
#include <cstring>

#include "common/run_failure.h"
#include "purge/backup_file_writer.h"

namespace sorvane {

void RaiseBackupFileFailure(const std::string& doing, const std::string& path, const std::string& why) {
    throw RunFailure(kFileAccess, "Cannot " + doing + " the backup file \"" + path + "\": " + why);
}

void BackupFileWriter::Raise(const char* doing, int error) const {
    RaiseBackupFileFailure(doing, path_, std::strerror(error != 0 ? error : EIO));
}

}  // namespace sorvane
