#include "purge/batch_walk.h"

#include <algorithm>
#include <limits>

namespace sorvane {

namespace {

constexpr std::int64_t kLowestId = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kLargestCount = std::numeric_limits<std::int64_t>::max();

// Distances between ids span up to 2^64 - 1: unsigned, where wrapping is
// defined and the true difference of two ids always fits.
std::uint64_t Distance(std::int64_t high, std::int64_t low) {
    return static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
}

}  // namespace

Batch BatchTopped(std::int64_t top, std::int64_t width) {
    const bool reachesBelowLowestId = Distance(top, kLowestId) < static_cast<std::uint64_t>(width);
    return {top, reachesBelowLowestId ? kLowestId : top - width};
}

BatchWalk::BatchWalk(std::int64_t minId, std::int64_t maxId, std::int64_t width,
                     HighestOldIdAtOrBelow highestOldId)
    : minId_(minId), width_(width), highestOldId_(std::move(highestOldId)), top_(maxId) {
    const std::uint64_t below = Distance(maxId, minId) / static_cast<std::uint64_t>(width);
    batchesInRange_ = below >= static_cast<std::uint64_t>(kLargestCount) ? kLargestCount
                                                                         : static_cast<std::int64_t>(below) + 1;
}

Batch BatchWalk::Next() {
    passedOver_ = false;
    if (lookAhead_) {
        // Straight to the batch holding the next old row (or the lowest
        // batch, when none is left).
        const std::int64_t next = std::clamp(highestOldId_(top_).value_or(minId_), minId_, top_);
        const std::uint64_t passed = Distance(top_, next) / static_cast<std::uint64_t>(width_);
        top_ = static_cast<std::int64_t>(static_cast<std::uint64_t>(top_) - passed * static_cast<std::uint64_t>(width_));
        Count(passed);
        passedOver_ = passed > 0;
    }
    current_ = BatchTopped(top_, width_);
    return *current_;
}

void BatchWalk::Done(std::int64_t rowsFound) {
    Count(1);
    ++batchesRun_;
    lookAhead_ = LooksAheadAfter(rowsFound);
    over_ = IsLowest(*current_);
    top_ = current_->lowerBound;
}

std::optional<std::int64_t> BatchWalk::SurelyNextTop(std::int64_t rowsFound) const {
    if (LooksAheadAfter(rowsFound) || IsLowest(*current_)) return std::nullopt;
    return current_->lowerBound;
}

bool BatchWalk::IsLowest(const Batch& batch) const {
    // It reaches below the range, or was cut short at the lowest id.
    return batch.lowerBound < minId_ || Distance(batch.top, batch.lowerBound) < static_cast<std::uint64_t>(width_);
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
