#include "common/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sorvane {

namespace {

OpenedFile Refused(std::string why) {
    OpenedFile file;
    file.refusal = std::move(why);
    return file;
}

OpenedFile Failed(int error) { return Refused(std::strerror(error != 0 ? error : EIO)); }

bool FolderWritableByOthers(const std::string& path) {
    struct stat folder {};
    if (::stat(FolderOf(path).c_str(), &folder) != 0) return true;
    return (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

// Why an opened file must not take rows, or an empty text.
std::string Unfit(int descriptor, const std::string& path) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) return std::strerror(errno);
    if (!S_ISREG(status.st_mode)) return "it is not a regular file";
    if ((status.st_uid != ::geteuid() || status.st_nlink > 1) && FolderWritableByOthers(path)) {
        return status.st_uid != ::geteuid()
                   ? "it belongs to another user and its folder is writable by others"
                   : "it has other names (hard links) and its folder is writable by others";
    }
    return {};
}

}  // namespace

OpenedFile OpenPrivateFileForAppending(const std::string& path) {
    // O_NONBLOCK: opening a FIFO nobody reads would otherwise wait for ever.
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    OpenedFile file;
    // O_EXCL tells whether this opening made the file (its folder must then
    // be flushed too); the retry covers a file removed in between.
    for (int attempt = 0; attempt < 3 && file.descriptor < 0; ++attempt) {
        file.descriptor = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0600);
        if (file.descriptor >= 0) {
            file.created = true;
            break;
        }
        if (errno != EEXIST) return Failed(errno);
        file.descriptor = ::open(path.c_str(), flags);
        if (file.descriptor >= 0) break;
        if (errno == ELOOP) return Refused("it is a symbolic link");
        if (errno == ENXIO) return Refused("it is not a regular file");  // a FIFO without reader
        if (errno != ENOENT) return Failed(errno);
    }
    if (file.descriptor < 0) return Failed(ENOENT);
    if (std::string why = Unfit(file.descriptor, path); !why.empty()) {
        ::close(file.descriptor);
        return Refused(std::move(why));
    }
    ::fcntl(file.descriptor, F_SETFL, ::fcntl(file.descriptor, F_GETFL) & ~O_NONBLOCK);
    return file;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace sorvane
