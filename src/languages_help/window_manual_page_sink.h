#pragma once
// -h and -help with a display: the manual page goes into the manual-page
// window instead of standard output.

#include <memory>

#include "common/manual_page_sink.h"

namespace sorvane {

// A sink that fills and shows frmManpage, or nullptr when no window can be
// shown (no display, or the window platform cannot start); the caller then
// writes the page to standard output. Creates the QApplication when there is
// none yet (argc and argv must outlive the sink) and never lets a missing
// display end the program.
std::unique_ptr<ManualPageSink> MakeWindowManualPageSink(int& argc, char** argv);

}  // namespace sorvane
