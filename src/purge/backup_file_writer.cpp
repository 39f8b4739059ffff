#include "purge/backup_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/private_file.h"

namespace sorvane {

BackupFileWriter::BackupFileWriter(std::string path) : path_(std::move(path)) {
    const OpenedFile file = OpenPrivateFileForAppending(path_);
    if (file.descriptor < 0) RaiseBackupFileFailure("open", path_, file.refusal);
    descriptor_ = file.descriptor;
    folderToFlush_ = file.created;
}

BackupFileWriter::~BackupFileWriter() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

void BackupFileWriter::Append(const std::string& lines) {
    std::size_t written = 0;
    while (written < lines.size()) {
        const ssize_t count = ::write(descriptor_, lines.data() + written, lines.size() - written);
        if (count > 0) {
            written += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        const int error = count < 0 ? errno : ENOSPC;
        if (written > 0) {
            const off_t end = ::lseek(descriptor_, 0, SEEK_CUR);
            struct stat status {};
            if (end >= 0 && ::fstat(descriptor_, &status) == 0 && status.st_size == end) {
                (void)::ftruncate(descriptor_, end - static_cast<off_t>(written));
            }
        }
        Raise("write", error);
    }
}

void BackupFileWriter::Flush() {
    // Only regular files are opened, so every failure here is a real one.
    if (::fsync(descriptor_) != 0) Raise("flush to disk", errno);
    if (folderToFlush_) {
        if (const int error = SyncFolderOf(path_); error != 0) Raise("flush the folder of", error);
        folderToFlush_ = false;
    }
}

void BackupFileWriter::Empty() {
    if (::ftruncate(descriptor_, 0) != 0) Raise("empty", errno);
}

int SyncFolderOf(const std::string& path) {
    const int descriptor = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    // Some file systems cannot flush a folder and say so with EINVAL.
    const int result = ::fsync(descriptor) == 0 || errno == EINVAL ? 0 : errno;
    ::close(descriptor);
    return result;
}

}  // namespace sorvane
