#include "startup/status_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace sorvane {

void StatusLine::Show(const std::string& text) {
    // The last column stays free: a line that fills it leaves some terminals
    // waiting to wrap, and the next carriage return then lands a line lower.
    std::string line = columns_ > 1 && text.size() >= columns_ ? text.substr(0, columns_ - 1) : text;
    const std::size_t length = line.size();
    // Blanks over what is left of a longer line before, rather than a
    // terminal's escape sequence, so that a log file reads plainly too.
    if (length < shown_) line.append(shown_ - length, ' ');
    out_ << '\r' << line << std::flush;
    shown_ = length;
}

void StatusLine::Finish() {
    if (shown_ == 0) return;
    out_ << '\n' << std::flush;
    shown_ = 0;
}

void StatusLine::ReplaceWithLine(const std::string& text) {
    if (shown_ > 0) out_ << '\r' << std::string(shown_, ' ') << '\r';
    out_ << text << '\n' << std::flush;
    shown_ = 0;
}

std::size_t TerminalColumns(int descriptor) {
    if (::isatty(descriptor) == 0) return 0;
    winsize size{};
    if (::ioctl(descriptor, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

}  // namespace sorvane
