#pragma once
// The texts a command-line run shows of its figures: the progress line that
// rewrites itself while the batches run, and the summary at the end (on
// standard error and in debug.log).

#include <string>

#include "purge/purge_host.h"

namespace sorvane {

// A span of time: "4.2 s" under a minute, "3:07" under an hour, "1:02:03"
// from an hour on (hours beyond a day are kept).
std::string FormatDuration(double seconds);

// "120/1000 batches, 1200 rows deleted, 1200 backed up, 2400 rows/s, 0:30
// elapsed, about 3:40 left": batches done of all, the real rows so far (of
// what the run does: deleting, backing up), the rate, and the time left at
// the pace so far (left out until a batch is done).
std::string FormatProgressLine(const RunTally& tally, double elapsedSeconds, bool deletes, bool backsUp);

// "1200 rows deleted, 1200 rows backed up to <file>[, <file>], 12 batches in
// 4.2 s (285 rows/s)".
std::string FormatRunSummary(const RunTally& tally, double elapsedSeconds);

}  // namespace sorvane
