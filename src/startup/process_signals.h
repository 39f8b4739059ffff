#pragma once
// The signals the program handles itself.

#include "common/stop_request.h"

namespace sorvane {

// Under a file-size limit (ulimit -f) the kernel would kill the program in the
// middle of a write, leaving half a line in the backup file and no report.
// Ignored, the write fails with EFBIG instead, and the run cuts the line back
// and reports the failure like a full disk.
void IgnoreFileSizeLimitSignal();

// While it lives, SIGINT, SIGTERM and SIGHUP only record themselves in
// `request`, so that a command-line run can stop cleanly between two
// batches. A second such signal ends the program at once as it would without
// this (a batch is exported before it is deleted, so that loses no row
// either). System calls interrupted by the signal go on.
class StopSignals {
public:
    explicit StopSignals(StopRequest& request);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
};

}  // namespace sorvane
