#pragma once
// The texts a command-line run shows of its figures: the progress line that
// rewrites itself while the batches run, and the summary at the end (on
// standard error and in debug.log).

#include <cstddef>
#include <string>

#include "purge/purge_host.h"

namespace sorvane {

// A span of time: "4.2 s" under a minute ("4 s" without tenths), "3:07"
// under an hour, "1:02:03" from an hour on (hours beyond a day are kept).
std::string FormatDuration(double seconds, bool tenths = true);

// "120/1000 batches, 1200 deleted, 1150 backed up, 40 rows/s, 3:40 left, 30 s
// elapsed": batches done of all, the real rows so far (of what the run does:
// deleting, backing up), the rate, the time left at the pace so far (not
// before a batch is done) and the time elapsed. Within `columns` (0: no
// limit) the figures at the end are left out, least needed last, so that
// the line never wraps.
std::string FormatProgressLine(const RunTally& tally, double elapsedSeconds, bool deletes, bool backsUp,
                               std::size_t columns = 0);

// "1200 rows deleted, 1200 rows backed up to <file>[, <file>], 12 batches in
// 4.2 s (285 rows/s)".
std::string FormatRunSummary(const RunTally& tally, double elapsedSeconds);

}  // namespace sorvane
