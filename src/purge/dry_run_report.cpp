#include "purge/dry_run_report.h"

#include "purge/backup_run.h"

namespace sorvane {

namespace {

std::string Plural(std::int64_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string DescribeFate(BackupFileFate fate, const std::string& path) {
    switch (fate) {
        case BackupFileFate::Created: return "not there, would be created";
        case BackupFileFate::AppendedTo: return "there, would be appended to";
        case BackupFileFate::Emptied: return "there, would be emptied first (-overwrite=1)";
        case BackupFileFate::AppendedToUnfinished:
            return "there, would be appended to and not emptied: " + path + kUnfinishedMarkSuffix +
                   " says a run writing it has not finished (should that run still be going, this one would fail)";
        case BackupFileFate::AppendedToUnmarked:
            return "there, would be appended to and not emptied: its folder takes no mark";
        case BackupFileFate::Refused: return "not a regular file: the run would refuse it and fail";
        case BackupFileFate::FolderMissing: return "its folder is not there: the run would fail";
    }
    return "";
}

// "2026-11-30 00:00:00" out of "{ts '2026-11-30 00:00:00'}".
std::string CutOffTime(const std::string& literal) {
    const std::size_t open = literal.find('\'');
    const std::size_t close = literal.rfind('\'');
    if (open == std::string::npos || close <= open) return literal;
    return literal.substr(open + 1, close - open - 1);
}

}  // namespace

std::string FormatDryRunReport(const DryRunFindings& findings) {
    std::string report = "Dry run: nothing is deleted, no backup is written.\n";
    report += "Data source: " + findings.dsn + "\n";
    report += "Table: " + findings.tableName + "\n";
    report += "Time column: " + findings.timeColumn + "\n";
    report += "Cut-off: " + CutOffTime(findings.cutOffLiteral) + " (rows on or before it are old)\n";
    if (!findings.range) {
        report += "Old rows: none; a run would end without a batch\n";
        return report;
    }
    report += "Lowest old id: " + std::to_string(findings.range->minId) + "\n";
    report += "Highest old id: " + std::to_string(findings.range->maxId) + "\n";
    report += "Old rows: " + std::to_string(findings.oldRows) + " (and " +
              Plural(findings.youngRowsInRange, "younger row", "younger rows") + " inside that id range, kept)\n";
    report += "Batches: " + std::to_string(findings.batches) + " of " + std::to_string(findings.batchWidth) + " ids";
    if (findings.batchesPassedOver > 0) {
        report += ", of which " + std::to_string(findings.batchesPassedOver) + " empty, passed over in " +
                  Plural(findings.stretchesPassedOver, "stretch", "stretches");
    }
    report += "\n";
    report += std::string("Delete: ") + (findings.deletes ? "yes" : "no") + "\n";
    if (!findings.backsUp) {
        report += "Backup: none\n";
    } else {
        report += "Backup: " + findings.backupFile + "\n";
        report += "Backup file: " + DescribeFate(findings.backupFileFate, findings.backupFile) + "\n";
    }
    return report;
}

}  // namespace sorvane
