#include "startup/status_line.h"

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

}  // namespace sorvane
