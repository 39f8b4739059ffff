// flock on the backup file; the mark made with open(O_CREAT | O_EXCL).

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "purge/backup_file_lock.h"

namespace sorvane::platform {

LockOutcome LockBackupFile(int descriptor, bool alone, std::string& why) {
    while (::flock(descriptor, alone ? LOCK_EX | LOCK_NB : LOCK_SH) != 0) {
        if (errno == EWOULDBLOCK) return LockOutcome::HeldByOther;
        if (errno != EINTR) {
            why = std::strerror(errno);
            return LockOutcome::Failed;
        }
    }
    return LockOutcome::Taken;
}

int OpenBackupFileForReading(const std::string& path, int& error, std::string& why) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        error = errno;
        why = std::strerror(error);
    }
    return descriptor;
}

void CloseBackupFile(int descriptor) { ::close(descriptor); }

MarkOutcome PlaceMarkFile(const std::string& path, const std::string& text, std::string& why) {
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        if (errno == EEXIST) return MarkOutcome::AlreadyThere;
        why = std::strerror(errno);
        return errno == EACCES || errno == EPERM || errno == EROFS ? MarkOutcome::NotPermitted : MarkOutcome::Failed;
    }
    const bool written = ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(descriptor);
    if (!written) {
        why = "it could not be written";
        return MarkOutcome::Failed;
    }
    return MarkOutcome::Placed;
}

void RemoveMarkFile(const std::string& path) { ::unlink(path.c_str()); }

long CurrentProcessId() { return static_cast<long>(::getpid()); }

}  // namespace sorvane::platform
