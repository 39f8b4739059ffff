#include "purge/export_batch_to_csv.h"

#include <string>
#include <vector>

#include "purge/backup_file_writer.h"
#include "purge/batch_arithmetic.h"
#include "purge/connection_text.h"
#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "purge/odbc_statement.h"

namespace sorvane {

namespace {

// Lines gathered before they go to the file in one write: large enough to
// keep system calls few, small enough for the widest batch of long rows.
constexpr std::size_t kWriteChunk = 1 << 20;

}  // namespace

void ExportBatchToCsv(const PurgeSettings& settings, std::int32_t batchTop,
                      std::int32_t batchWidth, const std::string& cutOffLiteral, PurgeHost& host,
                      BackupRun& backupRun, const RunClock& clock) {
    const odbc::Connection connection(
        BuildConnectionText(settings.dsn, settings.userName, settings.password));
    const std::int32_t lowerBound = BatchLowerBound(batchTop, batchWidth);
    odbc::Statement query(connection);
    query.ExecuteDirect("SELECT * FROM " + settings.tableName + " WHERE id<=" +
                        std::to_string(batchTop) + " and id>" + std::to_string(lowerBound) +
                        " and " + settings.timeColumn + " <= " + cutOffLiteral);

    const std::string path = BackupFilePath(settings, LocalTime(clock.Now()));
    const bool overwrite = IsOn(settings.overwrite, "overwrite");
    const bool empty = backupRun.FirstOpening(path) && overwrite;
    BackupFileWriter file(path, empty);

    const int columns = query.ColumnCount();
    std::vector<int> types;
    for (int column = 0; column < columns; ++column) types.push_back(query.ColumnType(column));

    std::string line;
    std::string chunk;
    while (query.Fetch()) {
        host.Yield();
        line.clear();
        for (int column = 0; column < columns; ++column) {
            host.Yield();
            line += EncodeCsvField(FieldText(types[column], query.Text(column)), settings.separator,
                                   settings.escapeText);
            if (column + 1 < columns) line += settings.separator;
        }
        line += "\r\n";
        if (chunk.size() + line.size() > kWriteChunk) {
            file.Append(chunk);
            chunk.clear();
        }
        chunk += line;
    }
    file.Append(chunk);
    // On stable storage before the caller deletes the batch.
    file.Finish();
}

}  // namespace sorvane
