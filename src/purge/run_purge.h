#pragma once
// One purge run: cut-off, id range, batches from the top down, each exported
// (when backupRows) and then deleted (when deleteRows).

#include "purge/purge_host.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"

namespace sorvane {

class RunLog;

enum class PurgeOutcome {
    Finished,  // the run got through its batches
    NoData,    // no row lies on or before the cut-off
    Stopped,   // host.StopSignal() asked the run to stop between two batches
};

// Raises RunFailure on every failure; catches nothing. Tells `host` each
// step (a window host may end the program when the run is finished); the
// caller ends a command-line run from the outcome. Debug lines go to `log`.
PurgeOutcome RunPurge(const PurgeSettings& settings, PurgeHost& host, const RunLog& log);

// The same, with the local date and time taken from `clock` (for the
// cut-off, the backup file's date and the elapsed time). A separate name
// keeps RunPurge usable as a plain function value.
PurgeOutcome RunPurgeWithClock(const PurgeSettings& settings, PurgeHost& host, const RunLog& log,
                               const RunClock& clock);

}  // namespace sorvane
