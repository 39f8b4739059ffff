#include <windows.h>

#include <string>

#include "common/program_folder.h"

namespace sorvane {

std::filesystem::path ProgramFolder() {
    // The full name of sorvane.exe, in a buffer grown until it fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) return {};
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

}  // namespace sorvane
