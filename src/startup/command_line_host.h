#pragma once
// The purge host of a command-line run: no window to drive, but a stop
// request that the stop signals set while the run goes on, and the run's
// figures: a progress line and a summary on standard error (on a terminal,
// or when asked for), and the summary as a debug line.

#include <functional>

#include "common/run_log.h"
#include "common/stop_request.h"
#include "purge/purge_host.h"
#include "purge/purge_settings.h"
#include "startup/status_line.h"

namespace sorvane {

// Seconds on a clock that only goes forward, from any fixed start.
using MonotonicSeconds = std::function<double()>;
double SteadySeconds();

class CommandLineHost : public PurgeHost {
public:
    // Shows nothing and writes no summary line.
    CommandLineHost() = default;
    // Figures go to `line` when `lineIsTerminal` or when a run asks for them;
    // `line` (and `log`, given to StartRun) must outlive the host.
    CommandLineHost(StatusLine& line, bool lineIsTerminal, MonotonicSeconds seconds = SteadySeconds)
        : line_(&line), lineIsTerminal_(lineIsTerminal), seconds_(std::move(seconds)) {}

    // Before the run of `settings`: its summary goes to `log` as a debug
    // line, and its figures to the status line when that is a terminal or
    // `progressAsked`.
    void StartRun(const PurgeSettings& settings, const RunLog& log, bool progressAsked);

    int StopSignal() const override { return stop_.Signal(); }
    StopRequest& Stop() noexcept { return stop_; }

    void NoRowsFound() override;
    void BatchesStarting() override;
    void BatchTallied(const RunTally& tally) override;
    void RunTallied(const RunTally& tally) override;

private:
    bool Shows() const { return line_ != nullptr && (lineIsTerminal_ || progressAsked_); }

    StopRequest stop_;
    StatusLine* line_ = nullptr;
    bool lineIsTerminal_ = false;
    MonotonicSeconds seconds_ = SteadySeconds;
    const RunLog* log_ = nullptr;
    bool progressAsked_ = false;
    bool deletes_ = false;
    bool backsUp_ = false;
    double start_ = 0;
    double lastShown_ = 0;
    bool firstShown_ = false;
};

}  // namespace sorvane
