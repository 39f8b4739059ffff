#pragma once
// A backup file of one run, written so that a batch may be deleted only once
// its rows are on stable storage.

#include <string>

namespace sorvane {

// The backup file, open for appending from the first batch that writes to it
// until the run ends. Text is appended in whole lines with O_APPEND, so two
// runs writing the same file at once (on a local file system) interleave
// lines, never parts of lines. Every failure raises RunFailure kFileAccess
// naming the file.
class BackupFileWriter {
public:
    // Opens `path` as OpenPrivateFileForAppending does (no symbolic link, no
    // FIFO or device, no other user's file in a folder others can write to),
    // creating it with mode 0600 less the umask when it is not there.
    explicit BackupFileWriter(std::string path);
    ~BackupFileWriter();
    BackupFileWriter(const BackupFileWriter&) = delete;
    BackupFileWriter& operator=(const BackupFileWriter&) = delete;

    // Appends `lines`, which must end at a line end. When the file system
    // refuses part of it, the part already written is cut off again (unless
    // another writer has appended since), so that the next opening does not
    // glue its first line to a broken one.
    void Append(const std::string& lines);

    // Flushes the file to stable storage; after this opening created the file
    // or NameAddedToFolder() was called, its folder as well, so that the names
    // survive a crash too.
    void Flush();

    // Another name in the file's folder (the run's mark) must be flushed with
    // the next Flush().
    void NameAddedToFolder() noexcept { folderToFlush_ = true; }

    // Cuts the file to nothing.
    void Empty();

    // The open file, for the run's lock on it.
    int Descriptor() const noexcept { return descriptor_; }
    const std::string& Path() const noexcept { return path_; }

private:
    [[noreturn]] void Raise(const char* doing, int error) const;

    std::string path_;
    int descriptor_ = -1;
    bool folderToFlush_ = false;
};

// Raises RunFailure kFileAccess: Cannot <doing> the backup file "<path>": <why>.
[[noreturn]] void RaiseBackupFileFailure(const std::string& doing, const std::string& path, const std::string& why);

// Flushes the folder holding `path` (the current folder for a bare name) to
// stable storage. Returns 0 or the errno of the failure.
int SyncFolderOf(const std::string& path);

}  // namespace sorvane
