// Windows delivers a console's Ctrl events on a thread of their own that the
// system starts (process_signals_windows.cpp), never on one of ours, so there
// is nothing to keep off the threads the program starts.

#include "common/blocked_signals.h"

namespace sorvane {

struct BlockedSignals::Mask {};

BlockedSignals::BlockedSignals() = default;

BlockedSignals::~BlockedSignals() = default;

}  // namespace sorvane
