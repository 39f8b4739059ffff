#include <signal.h>

#include "common/blocked_signals.h"

namespace sorvane {

struct BlockedSignals::Mask {
    sigset_t signals;
};

BlockedSignals::BlockedSignals() : previous_(std::make_unique<Mask>()) {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous_->signals);
}

BlockedSignals::~BlockedSignals() { pthread_sigmask(SIG_SETMASK, &previous_->signals, nullptr); }

}  // namespace sorvane
