#pragma once
// Keeps asynchronous signals off the threads the program starts, so that the
// stop signals' handler only ever runs on the thread that started the run.

#include <signal.h>

namespace sorvane {

// While it lives, the calling thread takes no signal (those pending wait);
// a thread started meanwhile inherits that mask and keeps it for good.
class BlockedSignals {
public:
    BlockedSignals() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous_);
    }
    ~BlockedSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    BlockedSignals(const BlockedSignals&) = delete;
    BlockedSignals& operator=(const BlockedSignals&) = delete;

private:
    sigset_t previous_;
};

}  // namespace sorvane
