#pragma once
// A request from outside a run (a signal) that it stop between two batches.

#include <csignal>

namespace sorvane {

class StopRequest {
public:
    // Safe to call from a signal handler.
    void Request(int signal) noexcept { signal_ = signal; }

    // The signal that asked for the stop, or 0 while none has.
    int Signal() const noexcept { return signal_; }

private:
    volatile std::sig_atomic_t signal_ = 0;
};

}  // namespace sorvane
