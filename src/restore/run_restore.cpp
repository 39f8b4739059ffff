#include "restore/run_restore.h"

#include <sqlext.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <unordered_set>
#include <vector>

#include "common/run_failure.h"
#include "common/run_log.h"
#include "odbc/connection.h"
#include "odbc/statement.h"
#include "purge/connection_text.h"
#include "purge/session_time_zone.h"
#include "purge/sql_identifier.h"
#include "restore/backup_record_reader.h"
#include "restore/table_columns.h"

namespace sorvane {

namespace {

using Values = std::vector<std::optional<std::string>>;

struct Row {
    Values values;
    std::int64_t id = 0;
    std::int64_t line = 0;
};

// A backup file opened for reading, row by row.
class BackupFile {
public:
    explicit BackupFile(const RestoreRequest& request)
        : name_(request.file), stream_(request.file, std::ios::binary),
          reader_(stream_, request.settings.separator, request.settings.escapeText) {
        if (!stream_) {
            throw RunFailure(errno, "The backup file " + name_ + " cannot be opened: " + std::strerror(errno));
        }
    }
    bool Next(BackupRecord& record) { return reader_.Next(record); }

private:
    std::string name_;
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
Row ConvertRecord(const BackupRecord& record, const std::vector<RestoreColumn>& columns, std::size_t idColumn,
                  const RestoreRequest& request) {
    const std::string where = "Line " + std::to_string(record.line) + " of " + request.file;
    if (record.fields.size() != columns.size()) {
        throw RunFailure(kInvalidArgument,
                         where + " has " + std::to_string(record.fields.size()) + " fields, but the table " +
                             request.settings.tableName + " has " + std::to_string(columns.size()) +
                             " columns: the backup is of another table, or was written with another -sep or "
                             "-esc. Nothing was restored");
    }
    Row row;
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
        throw RunFailure(failure.Number(), where + ", " + failure.Description() + ". Nothing was restored");
    } catch (const std::exception&) {  // an id beyond 64 bits
        throw RunFailure(kInvalidArgument, where + ": the id does not fit 64 bits. Nothing was restored");
    }
    return row;
}

// The whole file, read and converted once before anything is inserted.
std::int64_t CheckWholeFile(const RestoreRequest& request, const std::vector<RestoreColumn>& columns,
                            std::size_t idColumn) {
    BackupFile file(request);
    BackupRecord record;
    std::int64_t rows = 0;
    while (file.Next(record)) {
        ConvertRecord(record, columns, idColumn, request);
        ++rows;
    }
    return rows;
}

// Standard types are bound as they are; a driver's own type as text, which
// the database converts.
int ParameterType(int sqlType) {
    switch (sqlType) {
        case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR: case SQL_WCHAR: case SQL_WVARCHAR:
        case SQL_WLONGVARCHAR: case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT:
        case SQL_DECIMAL: case SQL_NUMERIC: case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: case SQL_BIT:
        case SQL_TYPE_TIMESTAMP: case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_BINARY: case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            return sqlType;
        case SQL_TIMESTAMP: return SQL_TYPE_TIMESTAMP;
        case SQL_DATE: return SQL_TYPE_DATE;
        case SQL_TIME: return SQL_TYPE_TIME;
        default: return SQL_VARCHAR;
    }
}

// The prepared statements of the insert pass, on the run's connection.
class BatchInserter {
public:
    BatchInserter(const odbc::Connection& connection, const RestoreRequest& request,
                  const std::vector<RestoreColumn>& columns)
        : connection_(connection), batchRows_(request.batchRows), present_(connection), insert_(connection) {
        const std::string& table = request.settings.tableName;
        std::string marks;
        for (int i = 0; i < batchRows_; ++i) marks += i == 0 ? "?" : ",?";
        present_.Prepare("SELECT id FROM " + table + " WHERE id IN (" + marks + ")");
        for (int i = 0; i < batchRows_; ++i) present_.AddTextParameter(SQL_BIGINT, 20, 0);
        marks.clear();
        for (std::size_t i = 0; i < columns.size(); ++i) marks += i == 0 ? "?" : ",?";
        // Without a column list: the backup holds every column in table order.
        insert_.Prepare("INSERT INTO " + table + " VALUES (" + marks + ")");
        for (const RestoreColumn& column : columns) {
            insert_.AddTextParameter(ParameterType(column.sqlType), static_cast<std::size_t>(std::max(0L, column.columnSize)),
                                     column.decimalDigits);
        }
    }

    // Inserts the batch's rows whose id is neither in the table nor earlier
    // in the batch, in one transaction; in a dry run only counts them.
    void Run(const std::vector<Row>& batch, bool dryRun, RestoreReport& report, std::int64_t& failedLine) {
        const std::unordered_set<std::int64_t> inTable = PresentIds(batch);
        std::unordered_set<std::int64_t> batchIds;
        std::unordered_set<std::int64_t>& seen = dryRun ? dryRunIds_ : batchIds;
        std::int64_t restored = 0;
        for (const Row& row : batch) {
            if (inTable.count(row.id) > 0 || !seen.insert(row.id).second) {
                ++report.present;
                continue;
            }
            if (!dryRun) {
                failedLine = row.line;
                for (std::size_t index = 0; index < row.values.size(); ++index) {
                    insert_.SetTextParameter(index + 1, row.values[index]);
                }
                insert_.Execute();
            }
            ++restored;
        }
        failedLine = 0;
        if (dryRun) {
            connection_.Rollback();
        } else {
            connection_.Commit();
        }
        report.restored += restored;
    }

private:
    std::unordered_set<std::int64_t> PresentIds(const std::vector<Row>& batch) {
        for (int i = 0; i < batchRows_; ++i) {
            const Row& row = batch[static_cast<std::size_t>(i) < batch.size() ? i : 0];
            present_.SetTextParameter(static_cast<std::size_t>(i) + 1, std::to_string(row.id));
        }
        std::unordered_set<std::int64_t> ids;
        present_.Execute();
        while (present_.Fetch()) {
            const std::optional<std::string> id = present_.Text(0);
            if (id) ids.insert(std::stoll(*id));
        }
        present_.CloseCursor();
        return ids;
    }

    const odbc::Connection& connection_;
    int batchRows_;
    // A dry run inserts nothing, so the ids of its earlier batches are kept
    // here to count a row the file holds twice once.
    std::unordered_set<std::int64_t> dryRunIds_;
    odbc::Statement present_;
    odbc::Statement insert_;
};

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
    BatchInserter inserter(connection, request, columns);
    BackupFile file(request);
    BackupRecord record;
    std::vector<Row> batch;
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
            inserter.Run(batch, request.dryRun, report, failedLine);
        } catch (const RunFailure& failure) {
            try {
                connection.Rollback();
            } catch (const RunFailure&) {
                // The failure below is what the user needs to see.
            }
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
