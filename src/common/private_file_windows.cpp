// The backup files and debug.log on Windows: created or opened with
// CreateFileW from the UTF-8 name, shared with readers only, so that no other
// program (nor a second run) writes into a file while a run has it open.
// An existing reparse point (a symbolic link or a junction) is opened as
// itself, never followed, and refused. Only a plain disk file takes rows.
// The handle is handed on as a C runtime descriptor (_open_osfhandle), so the
// callers keep one kind of descriptor on every platform.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "common/private_file.h"
#include "common/windows_text.h"

namespace sorvane {

namespace {

// debug.log is opened for a moment per line: a second run writing its own
// line at the same moment holds it that long, no more.
constexpr int kSharingRetries = 50;
constexpr DWORD kSharingRetryMilliseconds = 20;

OpenedFile Refused(std::string why) {
    OpenedFile file;
    file.refusal = std::move(why);
    return file;
}

HANDLE Open(const std::wstring& name, DWORD disposition) {
    return CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Why an opened file must not take rows, or an empty text.
std::string Unfit(HANDLE handle) {
    if (GetFileType(handle) != FILE_TYPE_DISK) return "it is not a regular file";
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(handle, &information)) return windows::ErrorText(GetLastError());
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return "it is a symbolic link or junction (a reparse point)";
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return "it is a folder";
    return {};
}

}  // namespace

OpenedFile OpenPrivateFileForAppending(const std::string& path) {
    const std::wstring name = windows::WideFromUtf8(path);
    OpenedFile file;
    HANDLE handle = INVALID_HANDLE_VALUE;
    // CREATE_NEW tells whether this opening made the file; the retries cover
    // a file removed in between and one that another writer holds a moment.
    for (int attempt = 0; attempt < kSharingRetries && handle == INVALID_HANDLE_VALUE; ++attempt) {
        handle = Open(name, CREATE_NEW);
        if (handle != INVALID_HANDLE_VALUE) {
            file.created = true;
            break;
        }
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            handle = Open(name, OPEN_EXISTING);
            if (handle != INVALID_HANDLE_VALUE) break;
            error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND) continue;
        }
        if (error != ERROR_SHARING_VIOLATION) return Refused(windows::ErrorText(error));
        if (attempt + 1 == kSharingRetries) return Refused("another program (or run) is writing it");
        Sleep(kSharingRetryMilliseconds);
    }
    if (handle == INVALID_HANDLE_VALUE) return Refused(windows::ErrorText(ERROR_FILE_NOT_FOUND));
    if (std::string why = Unfit(handle); !why.empty()) {
        CloseHandle(handle);
        return Refused(std::move(why));
    }
    file.descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_APPEND | _O_BINARY);
    if (file.descriptor < 0) {
        CloseHandle(handle);
        return Refused("no C runtime descriptor is left for it");
    }
    return file;
}

std::string FolderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string::npos) {
        // "D:name" lies in the current folder of drive D.
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) + "." : ".";
    }
    // The root of a drive or of the current drive keeps its separator.
    if (separator == 0 || (separator == 2 && path[1] == ':')) return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

}  // namespace sorvane
