#pragma once
// The backup file of one batch, written so that the batch may be deleted only
// once its rows are on stable storage.

#include <cstdint>
#include <string>

namespace sorvane {

// One opening of the backup file. Text is appended in whole lines with
// O_APPEND, so two runs writing the same file at once (on a local file
// system) interleave lines, never parts of lines. Every failure raises
// RunFailure kFileAccess naming the file.
class BackupFileWriter {
public:
    // Opens `path` for appending, creating it (mode 0666 less the umask) when
    // it is not there; `empty` cuts an existing file to nothing first.
    BackupFileWriter(std::string path, bool empty);
    ~BackupFileWriter();
    BackupFileWriter(const BackupFileWriter&) = delete;
    BackupFileWriter& operator=(const BackupFileWriter&) = delete;

    // Appends `lines`, which must end at a line end. When the file system
    // refuses part of it, the part already written is cut off again (unless
    // another writer has appended since), so that the next opening does not
    // glue its first line to a broken one.
    void Append(const std::string& lines);

    // Flushes the file to stable storage, closes it, and when this opening
    // created the file, flushes its folder as well so that the file's name
    // survives a crash too.
    void Finish();

    bool Created() const noexcept { return created_; }

private:
    std::string path_;
    int descriptor_ = -1;
    bool created_ = false;
};

// Flushes the folder holding `path` (the current folder for a bare name) to
// stable storage. Returns 0 or the errno of the failure.
int SyncFolderOf(const std::string& path);

}  // namespace sorvane
