#include "restore/run_restore.h"

#include <ctime>
#include <fstream>
#include <optional>
#include <vector>

#include "common/run_failure.h"
#include "common/run_log.h"
#include "odbc/connection.h"
#include "odbc/statement.h"
#include "purge/backup_file_lock.h"
#include "purge/connection_text.h"
#include "purge/session_time_zone.h"
#include "purge/sql_identifier.h"
#include "restore/backup_record_reader.h"
#include "restore/batch_insert.h"
#include "restore/table_columns.h"

namespace sorvane {

namespace {


// A backup file opened for reading, row by row. While a restore reads it,
// no purge run may empty it with -overwrite=1 (the shared lock says so), and
// a file that a purge run is still writing is refused.
class BackupFile {
public:
    explicit BackupFile(const RestoreRequest& request)
        : name_(request.file), lock_(platform::OpenBackupFileForReading(request.file, openError_, openWhy_)),
          stream_(request.file, std::ios::binary),
          reader_(stream_, request.settings.separator, request.settings.escapeText) {
        if (lock_ < 0) {
            throw RunFailure(openError_, "The backup file " + name_ + " cannot be opened: " + openWhy_);
        }
        if (!stream_) {
            platform::CloseBackupFile(lock_);
            throw RunFailure(kInvalidArgument, "The backup file " + name_ + " cannot be opened for reading");
        }
        // Writing runs hold it shared: a lock of our own fails while one does.
        std::string why;
        if (platform::LockBackupFile(lock_, true, why) == platform::LockOutcome::HeldByOther) {
            platform::CloseBackupFile(lock_);
            throw RunFailure(kInvalidArgument, "The backup file " + name_ +
                                                   " is being written by a purge run; restore it when that run has ended");
        }
        platform::LockBackupFile(lock_, false, why);
    }
    ~BackupFile() { platform::CloseBackupFile(lock_); }
    BackupFile(const BackupFile&) = delete;
    BackupFile& operator=(const BackupFile&) = delete;

    bool Next(BackupRecord& record) { return reader_.Next(record); }

private:
    std::string name_;
    int openError_ = 0;
    std::string openWhy_;
    int lock_;
    std::ifstream stream_;
    BackupRecordReader reader_;
};

std::size_t IdColumn(const std::vector<RestoreColumn>& columns, const std::string& table) {
    for (std::size_t index = 0; index < columns.size(); ++index) {
        const std::string& name = columns[index].name;
        if (name.size() == 2 && (name[0] == 'i' || name[0] == 'I') && (name[1] == 'd' || name[1] == 'D')) return index;
    }
    throw RunFailure(kInvalidArgument, "The table " + table + " has no column id");
}

// One line of the file as the row it stands for; raises RunFailure naming
// the line.
RestoreRow ConvertRecord(const BackupRecord& record, const std::vector<RestoreColumn>& columns,
                         std::size_t idColumn, const RestoreRequest& request) {
    const std::string where = "Line " + std::to_string(record.line) + " of " + request.file;
    if (record.fields.size() != columns.size()) {
        throw RunFailure(kInvalidArgument,
                         where + " has " + std::to_string(record.fields.size()) + " fields, but the table " +
                             request.settings.tableName + " has " + std::to_string(columns.size()) +
                             " columns: the backup is of another table, or was written with another -sep or "
                             "-esc");
    }
    RestoreRow row;
    row.line = record.line;
    row.values.reserve(columns.size());
    try {
        for (std::size_t index = 0; index < columns.size(); ++index) {
            row.values.push_back(ConvertBackupField(columns[index], record.fields[index]));
        }
        const std::optional<std::string>& id = row.values[idColumn];
        std::size_t used = 0;
        if (!id || (row.id = std::stoll(*id, &used), used != id->size())) {
            throw RunFailure(kInvalidArgument, "column " + columns[idColumn].name + ": no id");
        }
    } catch (const RunFailure& failure) {
        throw RunFailure(failure.Number(), where + ", " + failure.Description());
    } catch (const std::exception&) {  // an id beyond 64 bits
        throw RunFailure(kInvalidArgument, where + ": the id does not fit 64 bits");
    }
    return row;
}

// The whole file, read and converted once before anything is inserted.
std::int64_t CheckWholeFile(const RestoreRequest& request, const std::vector<RestoreColumn>& columns,
                            std::size_t idColumn) {
    BackupFile file(request);
    BackupRecord record;
    std::int64_t rows = 0;
    try {
        while (file.Next(record)) {
            ConvertRecord(record, columns, idColumn, request);
            ++rows;
        }
    } catch (const RunFailure& failure) {
        throw RunFailure(failure.Number(), failure.Description() + ". Nothing was restored");
    }
    return rows;
}

}  // namespace

RestoreReport RunRestore(const RestoreRequest& request, PurgeHost& host, const RunLog& log) {
    const PurgeSettings& settings = request.settings;
    if (settings.dsn.find_first_not_of(" \t") == std::string::npos) {
        throw RunFailure(kInvalidArgument, "The data source name is empty");
    }
    CheckTableName(settings.tableName);
    if (request.batchRows < 1) throw RunFailure(kInvalidArgument, "A restore batch needs at least one row");

    odbc::Connection connection(BuildConnectionText(settings.dsn, settings.userName, settings.password));
    // The backup shows times in the client's zone, as the purge's session did.
    SetSessionTimeZone(connection, FindClientTimeZone(std::time(nullptr)));
    const std::vector<RestoreColumn> columns = ReadTableColumns(connection, settings.tableName);
    const std::size_t idColumn = IdColumn(columns, settings.tableName);
    log.WriteDebugLog("Restore of " + request.file + " into " + settings.tableName + " (" +
                      std::to_string(columns.size()) + " columns)" + (request.dryRun ? ", dry run" : ""));

    RestoreReport report;
    report.read = CheckWholeFile(request, columns, idColumn);
    log.WriteDebugLog(std::to_string(report.read) + " rows read and converted");

    connection.BeginTransactions();
    BatchInsert inserter(connection, settings.tableName, columns, request.batchRows);
    BackupFile file(request);
    BackupRecord record;
    std::vector<RestoreRow> batch;
    bool more = true;
    while (more) {
        batch.clear();
        while (batch.size() < static_cast<std::size_t>(request.batchRows) && (more = file.Next(record))) {
            batch.push_back(ConvertRecord(record, columns, idColumn, request));
        }
        if (batch.empty()) break;
        if (host.StopSignal() != 0) {
            report.stopped = true;
            break;
        }
        host.Yield();
        std::int64_t failedLine = 0;
        try {
            const BatchInsert::Counts counts = inserter.Run(batch, request.dryRun, failedLine);
            report.restored += counts.restored;
            report.present += counts.present;
        } catch (const RunFailure& failure) {
            const std::string where = failedLine > 0 ? "Line " + std::to_string(failedLine) + " of " + request.file
                                                     : "The batch from line " + std::to_string(batch.front().line);
            throw RunFailure(failure.Number(),
                             where + ": " + failure.Description() + ". Nothing of this batch (lines " +
                                 std::to_string(batch.front().line) + " to " + std::to_string(batch.back().line) +
                                 ") was restored; the " + std::to_string(report.restored) +
                                 " rows of earlier batches stay, and a rerun skips them");
        }
    }
    log.WriteDebugLog(RestoreSummary(request, report));
    return report;
}

std::string RestoreSummary(const RestoreRequest& request, const RestoreReport& report) {
    std::string text = request.file + " into " + request.settings.tableName + ": " + std::to_string(report.read) +
                       " rows read, " + std::to_string(report.restored) +
                       (request.dryRun ? " to be restored, " : " restored, ") + std::to_string(report.present) +
                       " skipped as already present";
    if (request.dryRun) text += " (dry run: nothing was inserted)";
    if (report.stopped) text += " (stopped by a signal before the rest)";
    return text;
}

}  // namespace sorvane
