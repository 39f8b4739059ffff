#include <sys/ioctl.h>
#include <unistd.h>

#include "startup/standard_error_terminal.h"

namespace sorvane {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

std::size_t StandardErrorColumns() {
    if (!StandardErrorIsTerminal()) return 0;
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

}  // namespace sorvane
