#pragma once
// Saves the rows of one id batch to the backup file before the batch is
// deleted.

#include <cstdint>

#include "purge/backup_file.h"
#include "purge/purge_host.h"
#include "purge/purge_settings.h"
#include "purge/run_clock.h"

namespace sorvane {

// Writes every row with batchTop - batchWidth < id <= batchTop whose time
// column lies on or before `cutOffLiteral` to the backup file, one CSV line
// per row. The export opens its own connection. When it returns, the rows
// are on stable storage. Raises RunFailure on any failure (the connection,
// the query, a file that cannot be opened, written or flushed); whole lines
// already written stay in the file, a line cut short by the failure does not.
void ExportBatchToCsv(const PurgeSettings& settings, std::int32_t batchTop,
                      std::int32_t batchWidth, const std::string& cutOffLiteral, PurgeHost& host,
                      BackupRun& backupRun, const RunClock& clock);

}  // namespace sorvane
