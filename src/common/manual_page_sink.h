#pragma once
// Where -h and -help put the manual page's lines. Without a display the lines
// go to standard output; with one, the manual-page window takes them.

#include <string>

namespace sorvane {

class ManualPageSink {
public:
    virtual ~ManualPageSink() = default;
    // Appends one line and CR LF to the text shown so far.
    virtual void AppendLine(const std::string& line) = 0;
    // Shows what has been appended (modeless for a window; returns at once).
    virtual void Show() = 0;
    // Lets pending window events run once (start-up calls it before each argument).
    virtual void Yield() {}
    // Called when start-up returns without a purge having ended the program:
    // a shown manual-page window keeps the program running until it is closed.
    virtual void WaitUntilClosed() {}
};

}  // namespace sorvane
