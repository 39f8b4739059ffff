#pragma once
// Keeps asynchronous signals off the threads the program starts, so that the
// stop signals' handler only ever runs on the thread that started the run.
// One implementation per platform.

#include <memory>

namespace sorvane {

// While it lives, the calling thread takes no signal (those pending wait);
// a thread started meanwhile inherits that mask and keeps it for good.
class BlockedSignals {
public:
    BlockedSignals();
    ~BlockedSignals();
    BlockedSignals(const BlockedSignals&) = delete;
    BlockedSignals& operator=(const BlockedSignals&) = delete;

private:
    struct Mask;
    std::unique_ptr<Mask> previous_;
};

}  // namespace sorvane
