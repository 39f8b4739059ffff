#pragma once
// Whether standard error is a terminal, and how wide it is: the progress line
// shows by itself on a terminal and is cut to its width. One implementation
// per platform.

#include <cstddef>

namespace sorvane {

bool StandardErrorIsTerminal();

// The width of the terminal on standard error, or 0 when it is none.
std::size_t StandardErrorColumns();

}  // namespace sorvane
