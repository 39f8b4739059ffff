#include "purge/backup_run.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/run_log.h"
#include "common/run_failure.h"
#include "purge/backup_file_path.h"

namespace sorvane {

namespace {

[[noreturn]] void RaiseFileFailure(const std::string& doing, const std::string& path, const std::string& why) {
    throw RunFailure(kFileAccess, "Cannot " + doing + " the backup file \"" + path + "\": " + why);
}

void Lock(const BackupFileWriter& file, int operation) {
    while (::flock(file.Descriptor(), operation) != 0) {
        if (errno == EWOULDBLOCK) RaiseFileFailure("empty", file.Path(), "another run is writing it");
        if (errno != EINTR) RaiseFileFailure("lock", file.Path(), std::strerror(errno));
    }
}

enum class Mark { Placed, AlreadyThere, NotPossible };

// Puts the mark beside the file unless it is there. A folder we may not write
// to (a file prepared for us in someone else's folder) cannot take it.
Mark MarkAsBeingWritten(BackupFileWriter& file, std::string& why) {
    const std::string mark = file.Path() + kUnfinishedMarkSuffix;
    const int descriptor =
        ::open(mark.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        if (errno == EEXIST) return Mark::AlreadyThere;
        why = mark + ": " + std::strerror(errno);
        if (errno == EACCES || errno == EPERM || errno == EROFS) return Mark::NotPossible;
        RaiseFileFailure("mark as being written", file.Path(), why);
    }
    const std::string text = "A run of sorvane (process " + std::to_string(::getpid()) +
                             ") is writing the file beside this one, or was stopped before it finished.\n"
                             "While this file is here, -overwrite=1 keeps the rows and appends to them.\n";
    const bool written = ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(descriptor);
    if (!written) RaiseFileFailure("mark as being written", file.Path(), mark);
    file.NameAddedToFolder();
    return Mark::Placed;
}

}  // namespace

BackupFileWriter& BackupRun::FileFor(const PurgeSettings& settings, const RunClock& clock, const RunLog& log) {
    const bool overwrite = IsOn(settings.overwrite, "overwrite");
    if (overwrite && !overwriteDay_) overwriteDay_ = LocalTime(clock.Now());
    const std::string path = BackupFilePath(settings, overwrite ? *overwriteDay_ : LocalTime(clock.Now()));
    if (const auto found = files_.find(path); found != files_.end()) return *found->second;

    auto file = std::make_unique<BackupFileWriter>(path);
    // With overwrite the lock is held alone only while the file is emptied;
    // shared while rows go in, so runs that append may join but none may
    // empty it.
    Lock(*file, overwrite ? LOCK_EX | LOCK_NB : LOCK_SH);
    std::string why;
    const Mark mark = MarkAsBeingWritten(*file, why);
    if (overwrite && mark == Mark::Placed) file->Empty();
    if (overwrite && mark == Mark::AlreadyThere) {
        log.WriteDebugLog("The backup file \"" + path + "\" holds rows of a run that did not finish (" + path +
                          kUnfinishedMarkSuffix + " is there): they are kept and this run appends");
    }
    // Without its mark a run cannot keep a later one from emptying its rows,
    // so it empties none either.
    if (mark == Mark::NotPossible) {
        log.WriteDebugLog("The backup file \"" + path + "\" cannot be marked as being written (" + why +
                          (overwrite ? "): it is not emptied and this run appends" : ")"));
    }
    if (overwrite) Lock(*file, LOCK_SH);
    opened_.push_back(path);
    return *files_.emplace(path, std::move(file)).first->second;
}

void BackupRun::Finish() {
    for (const auto& [path, file] : files_) {
        // Another run of ours still holding the file will take the mark away
        // when it finishes itself; a mark left behind only keeps rows.
        if (::flock(file->Descriptor(), LOCK_EX | LOCK_NB) == 0) {
            ::unlink((path + kUnfinishedMarkSuffix).c_str());
        }
    }
    files_.clear();
}

}  // namespace sorvane
