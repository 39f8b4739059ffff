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
    if (inHand_.empty() && ahead_.valid()) {
        if (!Same(*aheadFirst_, batch)) RaiseOtherBatch(batch, *aheadFirst_, "under way");
        TakeIn(ahead_.get());
    }
    if (inHand_.empty()) TakeIn(ExportGroup(batch, WalkAhead(walk)));
    const Exported taken = inHand_.front();
    if (!Same(taken.batch, batch)) RaiseOtherBatch(batch, taken.batch, "at hand");
    inHand_.pop_front();
    if (onItsOwnThread_ && !ahead_.valid() && walkAhead_) {
        // The id ranges do not meet: the group below is exported while the
        // batches above it are deleted.
        if (const std::optional<Batch> next = walkAhead_->After(lastRows_)) StartGroup(*next, std::move(*walkAhead_));
        walkAhead_.reset();
    }
    return taken.rows;
}

void ExportAhead::TakeIn(Group group) {
    inHand_.insert(inHand_.end(), group.batches.begin(), group.batches.end());
    lastRows_ = group.batches.back().rows;
    walkAhead_.emplace(std::move(group.walk));
}

std::int64_t ExportAhead::ExportAgain(const Batch& batch) {
    if (ahead_.valid()) ahead_.wait();
    const std::int64_t rows = writeBatch_(batch);
    flushWritten_();
    return rows;
}

ExportAhead::Group ExportAhead::ExportGroup(const Batch& first, WalkAhead walk) {
    const auto begun = std::chrono::steady_clock::now();
    Group group{{}, std::move(walk)};
    std::int64_t rows = 0;
    for (Batch batch = first;;) {
        const std::int64_t found = writeBatch_(batch);
        group.batches.push_back({batch, found});
        rows += found;
        if (rows >= bounds_.rows || std::chrono::steady_clock::now() - begun >= bounds_.time) break;
        const std::optional<Batch> next = group.walk.After(found);
        if (!next) break;
        batch = *next;
    }
    // One flush for the group: none of its batches is deleted before it.
    flushWritten_();
    return group;
}

void ExportAhead::StartGroup(const Batch& first, WalkAhead walk) {
    aheadFirst_ = first;
    const BlockedSignals onTheNewThreadOnly;
    ahead_ = std::async(std::launch::async,
                        [this, first, walk = std::move(walk)]() mutable { return ExportGroup(first, std::move(walk)); });
}

}  // namespace sorvane
