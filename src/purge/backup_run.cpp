#include "purge/backup_run.h"

#include "common/run_log.h"
#include "common/run_failure.h"
#include "purge/backup_file_lock.h"
#include "purge/backup_file_path.h"

namespace sorvane {

namespace {

// Shared while rows go in; alone (never waiting) to empty it.
void Lock(const BackupFileWriter& file, bool alone) {
    std::string why;
    switch (platform::LockBackupFile(file.Descriptor(), alone, why)) {
        case platform::LockOutcome::Taken: return;
        case platform::LockOutcome::HeldByOther: RaiseBackupFileFailure("empty", file.Path(), "another run is writing it");
        case platform::LockOutcome::Failed: RaiseBackupFileFailure("lock", file.Path(), why);
    }
}

enum class Mark { Placed, AlreadyThere, NotPossible };

// Puts the mark beside the file unless it is there. A folder we may not write
// to (a file prepared for us in someone else's folder) cannot take it.
Mark MarkAsBeingWritten(BackupFileWriter& file, std::string& why) {
    const std::string mark = file.Path() + kUnfinishedMarkSuffix;
    const std::string text = "A run of sorvane (process " + std::to_string(platform::CurrentProcessId()) +
                             ") is writing the file beside this one, or was stopped before it finished.\n"
                             "While this file is here, -overwrite=1 keeps the rows and appends to them.\n";
    std::string reason;
    switch (platform::PlaceMarkFile(mark, text, reason)) {
        case platform::MarkOutcome::Placed: break;
        case platform::MarkOutcome::AlreadyThere: return Mark::AlreadyThere;
        case platform::MarkOutcome::NotPermitted: why = mark + ": " + reason; return Mark::NotPossible;
        case platform::MarkOutcome::Failed: RaiseBackupFileFailure("mark as being written", file.Path(), mark + ": " + reason);
    }
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
    Lock(*file, overwrite);
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
    if (overwrite) Lock(*file, false);
    opened_.push_back(path);
    return *files_.emplace(path, std::move(file)).first->second;
}

void BackupRun::Finish() {
    for (const auto& [path, file] : files_) {
        // Another run of ours still holding the file will take the mark away
        // when it finishes itself; a mark left behind only keeps rows.
        std::string why;
        if (platform::LockBackupFile(file->Descriptor(), true, why) == platform::LockOutcome::Taken) {
            platform::RemoveMarkFile(path + kUnfinishedMarkSuffix);
        }
    }
    files_.clear();
}

}  // namespace sorvane
