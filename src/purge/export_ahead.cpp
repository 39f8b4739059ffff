#include "purge/export_ahead.h"

#include <string>

#include "common/blocked_signals.h"
#include "common/run_failure.h"

namespace sorvane {

ExportAhead::ExportAhead(ExportBatch exportBatch) : exportBatch_(std::move(exportBatch)) {}

ExportAhead::~ExportAhead() {
    if (ahead_.valid()) ahead_.wait();
}

void ExportAhead::Start(std::int64_t batchTop) {
    if (ahead_.valid()) {
        throw RunFailure(kInternalError, "Internal error: the export of the batch topped by " +
                                             std::to_string(batchTop) + " was started while the one topped by " +
                                             std::to_string(*aheadTop_) + " was under way");
    }
    aheadTop_ = batchTop;
    const BlockedSignals onTheNewThreadOnly;
    ahead_ = std::async(std::launch::async, exportBatch_, batchTop);
}

std::int64_t ExportAhead::Take(std::int64_t batchTop) {
    if (!ahead_.valid()) return exportBatch_(batchTop);
    if (*aheadTop_ != batchTop) {
        // Its count would be checked against another batch's DELETE.
        throw RunFailure(kInternalError, "Internal error: the batch topped by " + std::to_string(batchTop) +
                                             " came next, but the export under way is of the one topped by " +
                                             std::to_string(*aheadTop_));
    }
    return ahead_.get();
}

std::int64_t ExportAhead::ExportAgain(std::int64_t batchTop) {
    if (ahead_.valid()) ahead_.wait();
    return exportBatch_(batchTop);
}

}  // namespace sorvane
