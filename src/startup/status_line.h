#pragma once
// One line at the end of standard error that rewrites itself (the progress
// of a run), kept apart from whole lines written in between: those start on
// a line of their own, and the status line is not broken into pieces.

#include <cstddef>
#include <ostream>
#include <string>

namespace sorvane {

class StatusLine {
public:
    // `columns` is the width of the terminal the line is shown on (it is cut
    // to fit, so that it never wraps and can be rewritten), or 0 when the
    // stream is no terminal (a log file keeps the whole line). `out` must
    // outlive this line.
    StatusLine(std::ostream& out, std::size_t columns) : out_(out), columns_(columns) {}

    // The width the line must fit, 0 for none.
    std::size_t Columns() const { return columns_; }

    // Puts `text` in place of the line shown so far, on the same line.
    void Show(const std::string& text);

    // Ends the line shown, if any, so that what is written next starts on a
    // line of its own; the line stays as last shown.
    void Finish();

    // Writes `text` as a whole line (never cut) in place of the line shown.
    void ReplaceWithLine(const std::string& text);

private:
    std::ostream& out_;
    std::size_t columns_;
    std::size_t shown_ = 0;  // length of the line on screen, 0 when none
};

}  // namespace sorvane
