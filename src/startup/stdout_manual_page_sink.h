#pragma once
// The manual page without a display: the lines go to standard output.

#include <ostream>
#include <string>

#include "common/manual_page_sink.h"

namespace sorvane {

class StdoutManualPageSink : public ManualPageSink {
public:
    // out defaults to std::cout; another stream is for tests.
    StdoutManualPageSink();
    explicit StdoutManualPageSink(std::ostream& out);

    void AppendLine(const std::string& line) override;
    // Writes the lines appended since the last Show, so that a page that fails
    // part-way (never shown) prints nothing, and -h -help prints it twice.
    void Show() override;

private:
    std::ostream& out_;
    std::string pending_;
};

}  // namespace sorvane
