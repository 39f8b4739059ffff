#include "purge/batch_walk.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace sorvane {

namespace {

constexpr std::int64_t kLowestId = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kLargestCount = std::numeric_limits<std::int64_t>::max();
// Spans ask for at least a width + 1 ids at once: not for widths beyond
// this.
constexpr std::int64_t kWidestSpanWidth = 100000;
// The old ids one query asks for at the least: at narrow widths they plan
// many spans, so that the query's scan is not repeated span by span.
constexpr std::int64_t kFewestIdsAsked = 10001;

std::int64_t IdsAskedFor(std::int64_t width) { return std::max(width + 1, kFewestIdsAsked); }

// Distances between ids span up to 2^64 - 1: unsigned, where wrapping is
// defined and the true difference of two ids always fits.
std::uint64_t Distance(std::int64_t high, std::int64_t low) {
    return static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
}

// It reaches below the range, or was cut short at the lowest id.
bool IsLowest(const Batch& batch, std::int64_t minId, std::int64_t width) {
    return batch.lowerBound < minId || Distance(batch.top, batch.lowerBound) < static_cast<std::uint64_t>(width);
}

}  // namespace

Batch BatchTopped(std::int64_t top, std::int64_t width) {
    const bool reachesBelowLowestId = Distance(top, kLowestId) < static_cast<std::uint64_t>(width);
    return {top, reachesBelowLowestId ? kLowestId : top - width};
}

BatchWalk::BatchWalk(std::int64_t minId, std::int64_t maxId, std::int64_t width,
                     HighestOldIdAtOrBelow highestOldId, OldIdsAtOrBelow oldIds)
    : minId_(minId), width_(width), highestOldId_(std::move(highestOldId)), top_(maxId) {
    const std::uint64_t below = Distance(maxId, minId) / static_cast<std::uint64_t>(width);
    batchesInRange_ = below >= static_cast<std::uint64_t>(kLargestCount) ? kLargestCount
                                                                         : static_cast<std::int64_t>(below) + 1;
    // Spans need the look-ahead, and a width whose ids fit in memory at once.
    if (highestOldId_ && width < kWidestSpanWidth) oldIds_ = std::move(oldIds);
}

Batch BatchWalk::Next() {
    passedOver_ = false;
    rowsLeftInSpan_ = 0;
    if (wantsSpan_ && !KnowsSpanFrom(top_)) {
        const std::int64_t asked = IdsAskedFor(width_);
        known_ = oldIds_(top_, asked);
        knownTop_ = top_;
        knownValid_ = true;
        knownToEnd_ = known_.size() < static_cast<std::uint64_t>(asked);
    }
    Advance();
    spanLowerBound_ = wantsSpan_ ? SpanLowerBound() : current_->lowerBound;
    inSpan_ = spanLowerBound_ < current_->lowerBound;
    if (inSpan_) rowsLeftInSpan_ = KnownRowsIn({current_->top, spanLowerBound_});
    return {current_->top, spanLowerBound_};
}

void BatchWalk::Done(std::int64_t rowsFound, const std::function<void()>& afterEachBatch) {
    const bool span = InSpan();
    BatchDone(span ? KnownRowsIn(*current_) : rowsFound);
    if (afterEachBatch) afterEachBatch();
    // The rest of the span, as a batch-by-batch walk would have run it: its
    // look-aheads answered by the ids already at hand.
    while (span && !over_) {
        const std::int64_t nextTop = lookAhead_ ? LookAheadTop() : top_;
        if (nextTop <= spanLowerBound_) break;
        passedOver_ = false;
        Advance();
        BatchDone(KnownRowsIn(*current_));
        if (afterEachBatch) afterEachBatch();
    }
    rowsLeftInSpan_ = 0;
    inSpan_ = false;
}

void BatchWalk::BatchDone(std::int64_t rowsFound) {
    Count(1);
    ++batchesRun_;
    if (InSpan()) rowsLeftInSpan_ = std::max<std::int64_t>(0, rowsLeftInSpan_ - rowsFound);
    lookAhead_ = LooksAheadAfter(rowsFound);
    wantsSpan_ = WantsSpanAfter(rowsFound);
    over_ = IsLowest(*current_, minId_, width_);
    top_ = current_->lowerBound;
}

std::int64_t BatchWalk::LookAheadTop() {
    // Straight to the batch holding the next old row (or the lowest batch,
    // when none is left).
    const std::int64_t next = std::clamp(HighestOld(top_).value_or(minId_), minId_, top_);
    const std::uint64_t passed = Distance(top_, next) / static_cast<std::uint64_t>(width_);
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(top_) - passed * static_cast<std::uint64_t>(width_));
}

void BatchWalk::Advance() {
    if (lookAhead_) {
        const std::int64_t next = LookAheadTop();
        const std::uint64_t passed = Distance(top_, next) / static_cast<std::uint64_t>(width_);
        Count(passed);
        passedOver_ = passed > 0;
        top_ = next;
    }
    current_ = BatchTopped(top_, width_);
}

std::optional<std::int64_t> BatchWalk::HighestOld(std::int64_t atMost) {
    const bool known = knownValid_ && atMost <= knownTop_ && (knownToEnd_ || (!known_.empty() && atMost >= known_.back()));
    if (!known) return highestOldId_(atMost);
    const auto at = std::lower_bound(known_.begin(), known_.end(), atMost, std::greater<>());
    if (at == known_.end()) return std::nullopt;
    return *at;
}

std::int64_t BatchWalk::OldIdsAsked(std::int64_t width) { return IdsAskedFor(width); }

std::size_t BatchWalk::KnownAtOrBelow(std::int64_t top) const {
    return static_cast<std::size_t>(std::lower_bound(known_.begin(), known_.end(), top, std::greater<>()) -
                                    known_.begin());
}

bool BatchWalk::KnowsSpanFrom(std::int64_t top) const {
    if (!knownValid_ || top > knownTop_) return false;
    return knownToEnd_ || KnownAtOrBelow(top) + static_cast<std::size_t>(width_) < known_.size();
}

std::int64_t BatchWalk::SpanLowerBound() const {
    const std::uint64_t w = static_cast<std::uint64_t>(width_);
    const std::int64_t top = current_->top;
    const auto topOfBatchHolding = [&](std::int64_t id) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(top) - Distance(top, id) / w * w);
    };
    const std::int64_t lowest = BatchTopped(topOfBatchHolding(minId_), width_).lowerBound;
    const std::size_t beyondAt = KnownAtOrBelow(top) + static_cast<std::size_t>(width_);
    if (beyondAt >= known_.size()) return lowest;  // known to the end
    // Just above the batch that holds the first id beyond a width of them.
    const std::int64_t beyond = known_[beyondAt];
    if (beyond < minId_) return lowest;
    if (beyond > current_->lowerBound) return current_->lowerBound;  // ids out of order: no span
    return topOfBatchHolding(beyond);
}

std::int64_t BatchWalk::KnownRowsIn(const Batch& batch) const {
    const auto from = std::lower_bound(known_.begin(), known_.end(), batch.top, std::greater<>());
    const auto to = std::lower_bound(known_.begin(), known_.end(), batch.lowerBound, std::greater<>());
    return from < to ? to - from : 0;
}

namespace {

// Raised by a walk ahead where the walk would ask the database.
struct NeedsDatabase {};

}  // namespace

BatchWalk BatchWalk::Offline() const {
    BatchWalk copy = *this;
    if (copy.highestOldId_) copy.highestOldId_ = [](std::int64_t) -> std::optional<std::int64_t> { throw NeedsDatabase{}; };
    if (copy.oldIds_) copy.oldIds_ = [](std::int64_t, std::int64_t) -> std::vector<std::int64_t> { throw NeedsDatabase{}; };
    return copy;
}

WalkAhead::WalkAhead(const BatchWalk& walk) : copy_(walk.Offline()) {}

std::optional<Batch> WalkAhead::After(std::int64_t rowsFound) {
    if (lost_) return std::nullopt;
    try {
        copy_.Done(rowsFound);
        if (!copy_.AtEnd()) return copy_.Next();
    } catch (const NeedsDatabase&) {
    }
    lost_ = true;
    return std::nullopt;
}

bool BatchWalk::WantsSpanAfter(std::int64_t rowsFound) const {
    return oldIds_ && (LooksAheadAfter(rowsFound) || rowsFound <= width_ / 2);
}

bool BatchWalk::LooksAheadAfter(std::int64_t rowsFound) const {
    return highestOldId_ && (rowsFound == 0 || passedOver_);
}

void BatchWalk::Count(std::uint64_t batches) {
    const std::uint64_t walked = static_cast<std::uint64_t>(batchesWalked_) + batches;
    batchesWalked_ = walked > static_cast<std::uint64_t>(kLargestCount) ? kLargestCount : static_cast<std::int64_t>(walked);
    const unsigned __int128 sum =
        static_cast<unsigned __int128>(counter_) + static_cast<unsigned __int128>(batches) * static_cast<std::uint64_t>(width_);
    counter_ = sum > static_cast<unsigned __int128>(kLargestCount) ? kLargestCount : static_cast<std::int64_t>(sum);
}

}  // namespace sorvane
