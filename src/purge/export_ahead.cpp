#include "purge/export_ahead.h"

#include <string>

#include "common/blocked_signals.h"
#include "common/run_failure.h"

namespace sorvane {

namespace {

std::string Named(const Batch& batch) {
    return "(" + std::to_string(batch.lowerBound) + ", " + std::to_string(batch.top) + "]";
}

}  // namespace

ExportAhead::ExportAhead(ExportBatch exportBatch) : exportBatch_(std::move(exportBatch)) {}

ExportAhead::~ExportAhead() {
    if (ahead_.valid()) ahead_.wait();
}

void ExportAhead::Start(const Batch& batch) {
    if (ahead_.valid()) {
        throw RunFailure(kInternalError, "Internal error: the export of the batch " + Named(batch) +
                                             " was started while the one of " + Named(*aheadBatch_) +
                                             " was under way");
    }
    aheadBatch_ = batch;
    const BlockedSignals onTheNewThreadOnly;
    ahead_ = std::async(std::launch::async, exportBatch_, batch);
}

std::int64_t ExportAhead::Take(const Batch& batch) {
    if (!ahead_.valid()) return exportBatch_(batch);
    if (aheadBatch_->top != batch.top || aheadBatch_->lowerBound != batch.lowerBound) {
        // Its count would be checked against another batch's DELETE.
        throw RunFailure(kInternalError, "Internal error: the batch " + Named(batch) +
                                             " came next, but the export under way is of " + Named(*aheadBatch_));
    }
    return ahead_.get();
}

std::int64_t ExportAhead::ExportAgain(const Batch& batch) {
    if (ahead_.valid()) ahead_.wait();
    return exportBatch_(batch);
}

}  // namespace sorvane
