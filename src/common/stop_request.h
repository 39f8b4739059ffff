#pragma once
// A request from outside a run (a signal) that it stop between two batches.

#include <atomic>

namespace sorvane {

class StopRequest {
public:
    // Safe to call from a signal handler.
    void Request(int signal) noexcept { signal_.store(signal, std::memory_order_relaxed); }

    // The signal that asked for the stop, or 0 while none has.
    int Signal() const noexcept { return signal_.load(std::memory_order_relaxed); }

private:
    static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch lock-free atomics");
    std::atomic<int> signal_{0};
};

}  // namespace sorvane
