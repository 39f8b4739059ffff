#pragma once
// The purge host of a command-line run: no window to drive, but a stop
// request that the stop signals set while the run goes on.

#include "common/stop_request.h"
#include "purge/purge_host.h"

namespace sorvane {

class CommandLineHost : public PurgeHost {
public:
    int StopSignal() const override { return stop_.Signal(); }
    StopRequest& Stop() noexcept { return stop_; }

private:
    StopRequest stop_;
};

}  // namespace sorvane
