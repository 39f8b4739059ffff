// The backup file on Windows: the handle behind the descriptor that
// OpenPrivateFileForAppending gave (CreateFileW, shared with readers only),
// written with WriteFile at its end and made durable with FlushFileBuffers.
// No other writer can have it open, so the end found before a write is where
// the write lands.

#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/private_file.h"
#include "common/run_failure.h"
#include "common/windows_text.h"
#include "purge/backup_file_writer.h"

namespace sorvane {

namespace {

HANDLE HandleOf(int descriptor) { return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)); }

bool MoveTo(HANDLE handle, LONGLONG offset, DWORD from, LONGLONG* position = nullptr) {
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER reached{};
    const bool moved = SetFilePointerEx(handle, distance, &reached, from) != 0;
    if (moved && position != nullptr) *position = reached.QuadPart;
    return moved;
}

}  // namespace

BackupFileWriter::BackupFileWriter(std::string path) : path_(std::move(path)) {
    const OpenedFile file = OpenPrivateFileForAppending(path_);
    if (file.descriptor < 0) RaiseBackupFileFailure("open", path_, file.refusal);
    descriptor_ = file.descriptor;
    // NTFS records a new name in its journal; a folder cannot be flushed
    // without administrator rights, so only the file is.
    folderToFlush_ = false;
}

BackupFileWriter::~BackupFileWriter() {
    if (descriptor_ >= 0) _close(descriptor_);
}

void BackupFileWriter::Append(const std::string& lines) {
    const HANDLE handle = HandleOf(descriptor_);
    LONGLONG start = 0;
    if (!MoveTo(handle, 0, FILE_END, &start)) RaiseBackupFileFailure("write", path_, windows::ErrorText(GetLastError()));
    std::size_t written = 0;
    while (written < lines.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(lines.size() - written, 1u << 30));
        DWORD count = 0;
        if (WriteFile(handle, lines.data() + written, chunk, &count, nullptr) && count > 0) {
            written += count;
            continue;
        }
        const DWORD error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_DISK_FULL;
        // The part already written is cut off again, so that the next
        // opening does not glue its first line to a broken one.
        if (written > 0 && MoveTo(handle, start, FILE_BEGIN)) SetEndOfFile(handle);
        RaiseBackupFileFailure("write", path_, windows::ErrorText(error));
    }
}

void BackupFileWriter::Flush() {
    if (!FlushFileBuffers(HandleOf(descriptor_))) {
        RaiseBackupFileFailure("flush to disk", path_, windows::ErrorText(GetLastError()));
    }
    folderToFlush_ = false;
}

void BackupFileWriter::Empty() {
    const HANDLE handle = HandleOf(descriptor_);
    if (!MoveTo(handle, 0, FILE_BEGIN) || !SetEndOfFile(handle)) {
        RaiseBackupFileFailure("empty", path_, windows::ErrorText(GetLastError()));
    }
}

// Windows lets only administrators flush a folder (through its volume); NTFS
// keeps its names in a journal instead.
int SyncFolderOf(const std::string& /*path*/) { return 0; }

}  // namespace sorvane
