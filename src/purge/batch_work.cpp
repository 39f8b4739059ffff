#include "purge/batch_work.h"

#include "common/run_log.h"
#include "purge/backed_up_delete.h"
#include "purge/batch_statements.h"
#include "purge/conflict_retry.h"
#include "purge/connection_text.h"
#include "purge/old_id_range.h"

namespace sorvane {

namespace {

std::string BatchName(const Batch& batch) {
    return "(" + std::to_string(batch.lowerBound) + ", " + std::to_string(batch.top) + "]";
}

BatchScan DeleteScan(const odbc::Connection& connection) {
    return connection.SqlDialect().OrdersDelete() ? BatchScan::Descending : BatchScan::AnyOrder;
}

}  // namespace

BatchWork::BatchWork(const PurgeSettings& settings, odbc::Connection& connection, const std::string& cutOffLiteral,
                     const ClientTimeZone& zone, PurgeHost& host, const RunLog& log, const RunClock& clock)
    : settings_(settings),
      connection_(connection),
      log_(log),
      backUpAndDelete_(settings.backupRows != 0 && settings.deleteRows != 0),
      overlap_(backUpAndDelete_ && !host.YieldsOnItsThread() && connection.SqlDialect().ReadsOverlapWriter()),
      delete_(connection),
      highestOldId_(connection),
      oldIds_(connection),
      exportConnections_(BuildConnectionText(settings.dsn, settings.userName, settings.password),
                         [zone](const odbc::Connection& fresh) { SetSessionTimeZone(fresh, zone); }),
      backup_(settings, cutOffLiteral, exportConnections_, overlap_ ? quietHost_ : host, log, clock),
      ahead_([this](const Batch& batch) { return backup_.WriteBatch(batch); }, [this] { backup_.FlushWritten(); },
             overlap_) {
    const BatchTable table{settings.tableName, settings.timeColumn, cutOffLiteral};
    delete_.Prepare(BatchDeleteSql(table, DeleteScan(connection)));
    delete_.AddBigIntParameter();  // the batch's top id
    delete_.AddBigIntParameter();  // the id below the batch
    highestOldId_.Prepare(HighestOldIdSql(table));
    highestOldId_.AddBigIntParameter();
    if (connection.SqlDialect().LimitsRows()) {
        oldIds_.Prepare(OldIdsSql(table, BatchWalk::OldIdsAsked(settings.recordsPerTrip)));
        oldIds_.AddBigIntParameter();
    }
    if (backUpAndDelete_) connection.BeginTransactions();
}

HighestOldIdAtOrBelow BatchWork::HighestOldId() {
    if (settings_.backupRows == 0 && settings_.deleteRows == 0) return nullptr;
    return [this](std::int64_t atMost) { return HighestOldIdAtMost(highestOldId_, atMost); };
}

OldIdsAtOrBelow BatchWork::OldIds() {
    if ((settings_.backupRows == 0 && settings_.deleteRows == 0) || !connection_.SqlDialect().LimitsRows()) {
        return nullptr;
    }
    // The statement asks for as many ids as the walk does.
    return [this](std::int64_t atMost, std::int64_t) { return OldIdsAtMost(oldIds_, atMost); };
}

std::int64_t BatchWork::Run(const Batch& batch, const BatchWalk& walk) {
    delete_.SetParameter(1, batch.top);
    delete_.SetParameter(2, batch.lowerBound);
    // The export comes first: a batch whose backup failed is not deleted.
    if (backUpAndDelete_) return ExportAndDelete(batch, walk);
    if (settings_.backupRows != 0) {
        // In groups with one flush each, as with the delete.
        const std::int64_t exported = ahead_.Take(batch, walk);
        rowsBackedUp_ += exported;
        return exported;
    }
    if (settings_.deleteRows != 0) {
        // Each DELETE commits on its own: a conflict has undone it whole.
        std::int64_t deleted = 0;
        RetryConflicts([&] { deleted = delete_.Execute() ? delete_.RowCount() : 0; }, [] {}, IsConflict(),
                       BatchName(batch), log_, SleepBeforeRetry);
        rowsDeleted_ += deleted;
        return deleted;
    }
    return 0;
}

std::int64_t BatchWork::ExportAndDelete(const Batch& batch, const BatchWalk& walk) {
    // The first export of the batch may be under way already; every later
    // one (after an undone delete, or a conflict that undid the whole
    // transaction) is done anew.
    std::optional<std::int64_t> firstExport;
    const auto exportBatch = [&](int) {
        if (firstExport) {
            const std::int64_t again = ahead_.ExportAgain(batch);
            rowsBackedUp_ += again;
            return again;
        }
        const std::int64_t rows = ahead_.Take(batch, walk);
        firstExport = rows;
        rowsBackedUp_ += rows;
        return rows;
    };
    // A conflict at the DELETE or the COMMIT leaves the batch's transaction
    // rolled back (BatchTransaction), so the batch is done again whole,
    // export first, without the count an undone try deleted: another run may
    // have deleted (and backed up) those rows meanwhile.
    BackedUpBatch done{};
    RetryConflicts([&] { done = DeleteBackedUpBatch(connection_, delete_, exportBatch, BatchName(batch), log_); },
                   [] {}, IsConflict(), BatchName(batch), log_, SleepBeforeRetry);
    rowsDeleted_ += done.deleted;
    // The walk goes on from what the first export found: the export of the
    // batch below may have been started on it, and a later export of this
    // batch may find fewer rows (another run deleted them meanwhile) without
    // changing which batch comes next.
    return *firstExport;
}

ConflictTest BatchWork::IsConflict() const {
    return [this](const RunFailure& failure) { return IsTransactionConflict(connection_, failure); };
}

}  // namespace sorvane
