#pragma once
// A run that only looks: it works out the cut-off, the id range and the
// batches as a purge run does and says what that run would do, deleting
// nothing, writing no backup, opening no transaction and taking no lock, so
// that a user who may only read the table can ask.

#include <cstdint>
#include <optional>
#include <string>

#include "purge/backup_file_fate.h"
#include "purge/old_id_range.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"

namespace sorvane {

class RunLog;

struct DryRunFindings {
    std::string dsn;
    std::string tableName;
    std::string timeColumn;
    std::string cutOffLiteral;       // "{ts 'Y-MM-DD 00:00:00'}"
    std::optional<OldIdRange> range; // nothing: no row is old enough
    std::int64_t oldRows = 0;
    std::int64_t youngRowsInRange = 0;  // not old, ids inside the range: kept
    std::int32_t batchWidth = 0;
    // All batches of the range, as the run counts them; of those, the empty
    // ones the run would pass over without a statement of their own, in how
    // many stretches.
    std::int64_t batches = 0;
    std::int64_t batchesPassedOver = 0;
    std::int64_t stretchesPassedOver = 0;
    bool deletes = false;
    bool backsUp = false;
    std::string backupFile;  // the name the run would build today
    BackupFileFate backupFileFate = BackupFileFate::Created;
};

// Raises RunFailure for everything a purge run of `settings` fails on before
// its first batch (settings, connection, login, table, ids, a backup option
// that is no number). Debug lines go to `log` as in a run, up to the range.
DryRunFindings DryRun(const PurgeSettings& settings, const RunLog& log, const RunClock& clock = SystemRunClock());

}  // namespace sorvane
