#include "startup/process_signals.h"

#include <csignal>

namespace sorvane {

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace sorvane
