#include "purge/export_batch_to_csv.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "purge/batch_arithmetic.h"
#include "purge/connection_text.h"
#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "purge/odbc_statement.h"
#include "purge/run_failure.h"

namespace sorvane {

namespace {

[[noreturn]] void RaiseFileFailure(const char* doing, const std::string& path, int error) {
    throw RunFailure(kFileAccess, std::string("Cannot ") + doing + " the backup file \"" + path +
                                      "\": " + std::strerror(error));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Flushes and closes, raising when data did not reach the file: a backup
// that only seemed written must not let its batch be deleted.
void CloseChecked(std::unique_ptr<std::FILE, FileCloser> file, const std::string& path) {
    std::FILE* raw = file.release();
    errno = 0;
    const bool flushed = std::fflush(raw) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(raw) == 0;
    if (!flushed) RaiseFileFailure("write", path, flushError != 0 ? flushError : EIO);
    if (!closed) RaiseFileFailure("close", path, errno != 0 ? errno : EIO);
}

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
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), empty ? "wb" : "ab"));
    if (!file) RaiseFileFailure("open", path, errno != 0 ? errno : EIO);

    const int columns = query.ColumnCount();
    std::vector<int> types;
    for (int column = 0; column < columns; ++column) types.push_back(query.ColumnType(column));

    std::string line;
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
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), file.get()) != line.size()) {
            RaiseFileFailure("write", path, errno != 0 ? errno : EIO);
        }
    }
    CloseChecked(std::move(file), path);
}

}  // namespace sorvane
