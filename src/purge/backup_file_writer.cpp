#include "purge/backup_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/run_failure.h"

namespace sorvane {

namespace {

[[noreturn]] void RaiseFileFailure(const char* doing, const std::string& path, int error) {
    throw RunFailure(kFileAccess, std::string("Cannot ") + doing + " the backup file \"" + path +
                                      "\": " + std::strerror(error != 0 ? error : EIO));
}

// Special files such as /dev/null or a pipe have no storage to flush to and
// answer EINVAL: nothing there can be made more durable.
bool SyncedOrNothingToSync(int descriptor) { return ::fsync(descriptor) == 0 || errno == EINVAL; }

}  // namespace

BackupFileWriter::BackupFileWriter(std::string path, bool empty) : path_(std::move(path)) {
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC;
    // O_EXCL tells whether this opening made the file (and so whether its
    // folder must be flushed). The retry covers a file removed in between.
    for (int attempt = 0; attempt < 3 && descriptor_ < 0; ++attempt) {
        descriptor_ = ::open(path_.c_str(), flags | O_CREAT | O_EXCL, 0666);
        if (descriptor_ >= 0) {
            created_ = true;
            break;
        }
        if (errno != EEXIST) break;
        descriptor_ = ::open(path_.c_str(), flags | (empty ? O_TRUNC : 0));
        if (descriptor_ < 0 && errno != ENOENT) break;
    }
    if (descriptor_ < 0) RaiseFileFailure("open", path_, errno);
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
        RaiseFileFailure("write", path_, error);
    }
}

void BackupFileWriter::Finish() {
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (!SyncedOrNothingToSync(descriptor)) {
        const int error = errno;
        ::close(descriptor);
        RaiseFileFailure("flush to disk", path_, error);
    }
    if (::close(descriptor) != 0 && errno != EINTR) RaiseFileFailure("close", path_, errno);
    if (created_) {
        if (const int error = SyncFolderOf(path_); error != 0) {
            RaiseFileFailure("flush the folder of", path_, error);
        }
    }
}

int SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder =
        slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    const int result = SyncedOrNothingToSync(descriptor) ? 0 : errno;
    ::close(descriptor);
    return result;
}

}  // namespace sorvane
