#include "startup/command_line_host.h"

#include <chrono>

#include "startup/run_figures_text.h"

namespace sorvane {

namespace {

// The progress line changes at most this often, so that a fast run does not
// spend its time on the terminal and the figures can be read.
constexpr double kProgressPeriodSeconds = 0.5;

}  // namespace

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void CommandLineHost::StartRun(const PurgeSettings& settings, const RunLog& log, bool progressAsked) {
    log_ = &log;
    progressAsked_ = progressAsked;
    deletes_ = settings.deleteRows != 0;
    backsUp_ = settings.backupRows != 0;
}

void CommandLineHost::NoRowsFound() {
    if (Shows()) line_->ReplaceWithLine("No row lies on or before the cut-off: nothing to do");
}

void CommandLineHost::BatchesStarting() {
    start_ = seconds_();
    firstShown_ = false;
}

void CommandLineHost::BatchTallied(const RunTally& tally) {
    if (!Shows()) return;
    const double now = seconds_();
    // The first batch shows at once that the run is under way.
    if (firstShown_ && now - lastShown_ < kProgressPeriodSeconds) return;
    firstShown_ = true;
    lastShown_ = now;
    line_->Show(FormatProgressLine(tally, now - start_, deletes_, backsUp_, line_->Columns()));
}

void CommandLineHost::RunTallied(const RunTally& tally) {
    const std::string summary = FormatRunSummary(tally, seconds_() - start_);
    if (log_ != nullptr) log_->WriteDebugLog(summary);
    if (!Shows()) return;
    // The summary takes the progress line's place: it holds the same figures.
    line_->ReplaceWithLine(summary);
}

}  // namespace sorvane
