#include "purge/export_ahead.h"

#include <string>

#include "common/blocked_signals.h"
#include "common/run_failure.h"

namespace sorvane {

namespace {

std::string Named(const Batch& batch) {
    return "(" + std::to_string(batch.lowerBound) + ", " + std::to_string(batch.top) + "]";
}

bool Same(const Batch& one, const Batch& other) { return one.top == other.top && one.lowerBound == other.lowerBound; }

// Its count would be checked against another batch's DELETE.
[[noreturn]] void RaiseOtherBatch(const Batch& batch, const Batch& exported, const char* where) {
    throw RunFailure(kInternalError, "Internal error: the batch " + Named(batch) + " came next, but the export " +
                                         where + " is of " + Named(exported));
}

}  // namespace

ExportAhead::ExportAhead(WriteBatch writeBatch, FlushWritten flushWritten, bool onItsOwnThread,
                         ExportGroupBounds bounds)
    : writeBatch_(std::move(writeBatch)),
      flushWritten_(std::move(flushWritten)),
      onItsOwnThread_(onItsOwnThread),
      bounds_(bounds) {}

ExportAhead::~ExportAhead() {
    if (ahead_.valid()) ahead_.wait();
}

std::int64_t ExportAhead::Take(const Batch& batch, const BatchWalk& walk) {
    const StraightStep straight = walk.Straight();
    // The walk's own word on what follows the batch it is on: it knows
    // whether the batch was reached by passing over others.
    const auto afterThisBatch = [&](std::int64_t rows) -> std::optional<Batch> {
        const std::optional<std::int64_t> top = walk.SurelyNextTop(rows);
        if (!top) return std::nullopt;
        return BatchTopped(*top, straight.width);
    };
    if (inHand_.empty() && ahead_.valid()) {
        if (!Same(*aheadFirst_, batch)) RaiseOtherBatch(batch, *aheadFirst_, "under way");
        for (const Exported& exported : ahead_.get()) inHand_.push_back(exported);
    }
    if (inHand_.empty()) {
        for (const Exported& exported : ExportGroup(batch, afterThisBatch, straight)) inHand_.push_back(exported);
    }
    const Exported taken = inHand_.front();
    if (!Same(taken.batch, batch)) RaiseOtherBatch(batch, taken.batch, "at hand");
    inHand_.pop_front();
    if (onItsOwnThread_ && !ahead_.valid()) {
        // The two id ranges do not meet: the group below is exported while
        // the batches above it are deleted.
        const std::optional<Batch> next = inHand_.empty() ? afterThisBatch(taken.rows)
                                                          : straight.After(inHand_.back().batch, inHand_.back().rows);
        if (next) StartGroup(*next, straight);
    }
    return taken.rows;
}

std::int64_t ExportAhead::ExportAgain(const Batch& batch) {
    if (ahead_.valid()) ahead_.wait();
    const std::int64_t rows = writeBatch_(batch);
    flushWritten_();
    return rows;
}

ExportAhead::Group ExportAhead::ExportGroup(const Batch& first,
                                            const std::function<std::optional<Batch>(std::int64_t)>& second,
                                            const StraightStep& straight) {
    const auto begun = std::chrono::steady_clock::now();
    Group group;
    std::int64_t rows = 0;
    for (Batch batch = first;;) {
        const std::int64_t found = writeBatch_(batch);
        group.push_back({batch, found});
        rows += found;
        const std::optional<Batch> next = group.size() == 1 && second ? second(found) : straight.After(batch, found);
        if (!next || rows >= bounds_.rows || std::chrono::steady_clock::now() - begun >= bounds_.time) break;
        batch = *next;
    }
    // One flush for the group: none of its batches is deleted before it.
    flushWritten_();
    return group;
}

void ExportAhead::StartGroup(const Batch& first, const StraightStep& straight) {
    aheadFirst_ = first;
    const BlockedSignals onTheNewThreadOnly;
    ahead_ = std::async(std::launch::async, [this, first, straight] { return ExportGroup(first, nullptr, straight); });
}

}  // namespace sorvane
