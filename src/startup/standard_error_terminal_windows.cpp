// Standard error is a terminal when it is a console (a console mode can be
// read); redirected to a file or a pipe it is none.

#include <windows.h>

#include "startup/standard_error_terminal.h"

namespace sorvane {

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::size_t StandardErrorColumns() {
    if (!StandardErrorIsTerminal()) return 0;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info) == 0) return 80;
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    return columns > 0 ? static_cast<std::size_t>(columns) : 80;
}

}  // namespace sorvane
