#include "purge/dry_run.h"

#include "common/run_failure.h"
#include "common/run_log.h"
#include "odbc/statement.h"
#include "purge/backup_file_path.h"
#include "purge/batch_walk.h"
#include "purge/batch_statements.h"
#include "purge/connection_text.h"
#include "purge/cut_off.h"
#include "purge/session_time_zone.h"

namespace sorvane {

namespace {

std::int64_t Count(const odbc::Connection& connection, const std::string& sql) {
    odbc::Statement count(connection);
    count.ExecuteDirect(sql);
    std::optional<std::string> text;
    if (count.Fetch()) text = count.Text(0);
    try {
        return text ? std::stoll(*text) : 0;
    } catch (const std::exception&) {
        throw RunFailure(kTypeMismatch, "Type mismatch: the row count \"" + *text + "\" is not a whole number");
    }
}

// Walks the batches as the run does, with a look at the next old id in place
// of each batch's export or DELETE: a batch holds old rows when the highest
// old id at or below its top lies inside it. The walk itself passes over the
// empty stretches exactly as the run's does; a run that neither backs up nor
// deletes walks every batch.
void CountPassedOver(odbc::Statement& highestOldId, const OldIdRange& range, std::int32_t width, bool touchesRows,
                     DryRunFindings& findings) {
    if (!touchesRows) return;
    const auto nextOldId = [&](std::int64_t atMost) { return HighestOldIdAtMost(highestOldId, atMost); };
    BatchWalk walk(range.minId, range.maxId, width, nextOldId);
    while (!walk.AtEnd()) {
        const std::int64_t walkedBefore = walk.BatchesWalked();
        const Batch batch = walk.Next();
        const std::int64_t passed = walk.BatchesWalked() - walkedBefore;
        findings.batchesPassedOver += passed;
        if (passed > 0) ++findings.stretchesPassedOver;
        const std::optional<std::int64_t> next = nextOldId(batch.top);
        walk.Done(next && *next > batch.lowerBound ? 1 : 0);
    }
}

}  // namespace

DryRunFindings DryRun(const PurgeSettings& settings, const RunLog& log, const RunClock& clock) {
    CheckRunSettings(settings);
    DryRunFindings findings;
    findings.dsn = settings.dsn;
    findings.tableName = settings.tableName;
    findings.timeColumn = settings.timeColumn;
    findings.batchWidth = settings.recordsPerTrip;
    findings.deletes = settings.deleteRows != 0;
    findings.backsUp = settings.backupRows != 0;
    const std::tm today = LocalTime(clock.Now());
    findings.cutOffLiteral = BuildCutOffLiteral(settings.days, today);
    log.WriteDebugLog("Prepared timestamp: " + findings.cutOffLiteral);
    // Read before connecting: a run that backs up fails on a bad value too.
    if (findings.backsUp) {
        findings.backupFile = BackupFilePath(settings, today);
        findings.backupFileFate = FateOfBackupFile(findings.backupFile, IsOn(settings.overwrite, "overwrite"));
    }
    std::tm cutOffDay = CutOffDay(settings.days, today);
    const ClientTimeZone zone = FindClientTimeZone(std::mktime(&cutOffDay));

    const odbc::Connection connection(BuildConnectionText(settings.dsn, settings.userName, settings.password));
    SetSessionTimeZone(connection, zone);
    findings.range = FindOldIdRange(connection, settings, findings.cutOffLiteral);
    if (!findings.range) {
        log.WriteDebugLog("No Data available");
        return findings;
    }
    const OldIdRange& range = *findings.range;
    log.WriteDebugLog("MinID = " + std::to_string(range.minId) + "; MaxID = " + std::to_string(range.maxId));

    const std::string oldCondition = settings.timeColumn + " <= " + findings.cutOffLiteral;
    findings.oldRows = Count(connection, "SELECT count(*) FROM " + settings.tableName + " WHERE " + oldCondition);
    findings.youngRowsInRange = Count(connection, "SELECT count(*) FROM " + settings.tableName + " WHERE id >= " +
                                                      std::to_string(range.minId) + " AND id <= " +
                                                      std::to_string(range.maxId)) -
                                findings.oldRows;
    findings.batches = BatchWalk(range.minId, range.maxId, findings.batchWidth, nullptr).BatchesInRange();

    const BatchTable table{settings.tableName, settings.timeColumn, findings.cutOffLiteral};
    odbc::Statement highestOldId(connection);
    highestOldId.Prepare(HighestOldIdSql(table));
    highestOldId.AddBigIntParameter();
    CountPassedOver(highestOldId, range, findings.batchWidth, findings.deletes || findings.backsUp, findings);
    return findings;
}

}  // namespace sorvane
