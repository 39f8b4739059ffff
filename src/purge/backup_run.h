#pragma once
// The backup files of one run: each opened once and kept open until the run
// ends, locked against another run that would empty it, and marked as being
// written until a run that wrote it gets through all its batches.

#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "purge/backup_file_writer.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"

namespace sorvane {

class RunLog;

// While a run writes a backup file, a mark lies beside it: the file's name
// followed by this. A mark left by a run that was killed, failed or was
// interrupted tells a later run with overwrite on to keep the rows.
constexpr const char* kUnfinishedMarkSuffix = ".unfinished";

class BackupRun {
public:
    // The file that a batch's rows go to, opened at the first batch that names
    // it. With overwrite on, the run takes the date for the file name once, at
    // its first batch, so that a run passing midnight never writes into a file
    // that tomorrow's run would empty as its own; and it empties the file at
    // that first opening only when no other run of ours has it open (else it
    // fails before anything is deleted) and no mark says that an earlier run
    // did not finish (then it keeps those rows and appends); a run that cannot
    // put its mark there (a folder it may not write to) empties nothing and
    // appends. Without overwrite the date is taken at every batch and the
    // file is only appended to.
    BackupFileWriter& FileFor(const PurgeSettings& settings, const RunClock& clock, const RunLog& log);

    // Called when the run got through all its batches: takes away the mark of
    // every file of this run that no other run of ours is still writing.
    void Finish();

    // Every file this run has opened, in the order first opened.
    const std::vector<std::string>& FilesOpened() const { return opened_; }

private:
    std::optional<std::tm> overwriteDay_;
    std::vector<std::string> opened_;
    std::map<std::string, std::unique_ptr<BackupFileWriter>> files_;
};

}  // namespace sorvane
