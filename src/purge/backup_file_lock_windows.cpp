// LockFileEx on the backup file's handle; the mark made with CreateFileW
// (CREATE_NEW, a reparse point opened as itself).
// Windows locks byte ranges, and a locked range cannot be written, not even
// through the locking handle when the lock is shared. The lock is therefore
// taken on one byte far beyond any data, which stands for the whole file.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "common/windows_text.h"
#include "purge/backup_file_lock.h"

namespace sorvane::platform {

namespace {

constexpr DWORD kLockOffsetLow = 0xFFFFFFFEu;
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFFu;

OVERLAPPED LockPlace() {
    OVERLAPPED place{};
    place.Offset = kLockOffsetLow;
    place.OffsetHigh = kLockOffsetHigh;
    return place;
}

}  // namespace

LockOutcome LockBackupFile(int descriptor, bool alone, std::string& why) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    // A lock held through this handle is given up first: Windows does not
    // convert one kind into the other.
    OVERLAPPED place = LockPlace();
    UnlockFileEx(handle, 0, 1, 0, &place);
    place = LockPlace();
    const DWORD flags = alone ? LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY : 0;
    if (LockFileEx(handle, flags, 0, 1, 0, &place)) return LockOutcome::Taken;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) return LockOutcome::HeldByOther;
    why = windows::ErrorText(error);
    return LockOutcome::Failed;
}

int OpenBackupFileForReading(const std::string& path, int& error, std::string& why) {
    // Shared for reading and writing: a purge run appending to it goes on.
    const HANDLE handle = CreateFileW(windows::WideFromUtf8(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        why = windows::ErrorText(static_cast<unsigned long>(error));
        return -1;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        error = static_cast<int>(ERROR_TOO_MANY_OPEN_FILES);
        why = windows::ErrorText(ERROR_TOO_MANY_OPEN_FILES);
        CloseHandle(handle);
    }
    return descriptor;
}

void CloseBackupFile(int descriptor) { _close(descriptor); }

MarkOutcome PlaceMarkFile(const std::string& path, const std::string& text, std::string& why) {
    const HANDLE handle = CreateFileW(windows::WideFromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return MarkOutcome::AlreadyThere;
        why = windows::ErrorText(error);
        return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT ? MarkOutcome::NotPermitted
                                                                            : MarkOutcome::Failed;
    }
    DWORD written = 0;
    const bool complete = WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                          written == text.size();
    CloseHandle(handle);
    if (!complete) {
        why = "it could not be written";
        return MarkOutcome::Failed;
    }
    return MarkOutcome::Placed;
}

void RemoveMarkFile(const std::string& path) { DeleteFileW(windows::WideFromUtf8(path).c_str()); }

long CurrentProcessId() { return static_cast<long>(GetCurrentProcessId()); }

}  // namespace sorvane::platform
