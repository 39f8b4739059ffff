#include "purge/backed_up_delete.h"

#include "common/run_log.h"
#include "purge/batch_transaction.h"
#include "common/run_failure.h"

namespace sorvane {

namespace {

constexpr int kBatchAttempts = 3;
constexpr std::int32_t kWarningEventType = 2;
constexpr std::int16_t kBatchChangedEventId = 27;

}  // namespace

BackedUpBatch DeleteBackedUpBatch(odbc::Connection& connection, odbc::Statement& deleteBatch,
                                 const std::function<std::int64_t(int attempt)>& exportBatch,
                                 const std::string& batchName, const RunLog& log) {
    std::int64_t deletedByUndoneAttempt = 0;
    for (int attempt = 1;; ++attempt) {
        const std::int64_t exported = exportBatch(attempt);
        // The rows the undone DELETE removed must be back; a table that
        // cannot undo a delete (no transactions) leaves them gone.
        if (exported < deletedByUndoneAttempt) {
            throw RunFailure(kBatchChanged, "Rows of batch " + batchName +
                                                " were deleted and could not be restored: up to " +
                                                std::to_string(deletedByUndoneAttempt - exported) +
                                                " of them may be in no backup (does the table support "
                                                "transactions?)");
        }
        std::int64_t deleted = 0;
        {
            BatchTransaction transaction(connection);
            deleted = deleteBatch.Execute() ? deleteBatch.RowCount() : 0;
            if (deleted <= exported) {
                transaction.Commit();
                return {exported, deleted};
            }
        }  // rolled back
        const std::string note = "Batch " + batchName + ": " + std::to_string(deleted - exported) +
                                 " rows came in after its export; its delete was undone";
        if (attempt == kBatchAttempts) {
            throw RunFailure(kBatchChanged, note + " " + std::to_string(attempt) + " times, the run stops");
        }
        log.WriteDebugLog(note + ", exporting it again");
        log.WriteEventLogEntry(kWarningEventType, note + ", exporting it again", kBatchChangedEventId,
                               kBatchChangedEventId);
        deletedByUndoneAttempt = deleted;
    }
}

}  // namespace sorvane
