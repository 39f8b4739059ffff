#include "startup/stdout_manual_page_sink.h"

#include <iostream>

namespace sorvane {

StdoutManualPageSink::StdoutManualPageSink() : out_(std::cout) {}

StdoutManualPageSink::StdoutManualPageSink(std::ostream& out) : out_(out) {}

void StdoutManualPageSink::AppendLine(const std::string& line) {
    // A terminal wants LF; the file's CR LF split already removed the CR.
    pending_ += line;
    pending_ += '\n';
}

void StdoutManualPageSink::Show() {
    out_ << pending_ << std::flush;
    pending_.clear();
}

}  // namespace sorvane
