#pragma once
// The batches of a run, from the top of its id range down: each the ids in
// (lower bound, top], one batch width wide. Holds no database: what lies
// below an empty stretch is asked of an injected function.

#include <cstdint>
#include <functional>
#include <optional>

namespace sorvane {

struct Batch {
    std::int64_t top;
    // The highest id below the batch; clamped to the lowest 64-bit id, so
    // the lowest batch of a range that reaches it is cut short rather than
    // overflowing.
    std::int64_t lowerBound;
};

// The batch (top - width, top], its lower bound clamped.
Batch BatchTopped(std::int64_t top, std::int64_t width);

// The highest id at or below the given one whose row is old enough to go,
// if any is left.
using HighestOldIdAtOrBelow = std::function<std::optional<std::int64_t>(std::int64_t atMost)>;

class BatchWalk {
public:
    // The ids minId..maxId (minId <= maxId), width >= 1. Without
    // `highestOldId` every batch of the range is visited in turn.
    BatchWalk(std::int64_t minId, std::int64_t maxId, std::int64_t width, HighestOldIdAtOrBelow highestOldId);

    // Whether the range is walked.
    bool AtEnd() const { return over_; }

    // The batch to run next (not AtEnd). After a
    // batch without rows (and while the batches that follow are reached by
    // passing over empty ones) it asks for the highest old id below and goes
    // straight to its batch, counting the batches passed over as if they had
    // run: every figure is the one a batch-by-batch walk gives.
    Batch Next();

    // The batch Next gave is done, having found `rowsFound` rows.
    void Done(std::int64_t rowsFound);

    // The top of the batch that follows the current one when it found
    // `rowsFound` rows, if that is sure without asking anything: the batch
    // right below, reached without a look-ahead. Nothing when the look-ahead
    // will decide or the range ends.
    std::optional<std::int64_t> SurelyNextTop(std::int64_t rowsFound) const;

    // The batch width times the batches done and passed over so far; held
    // at the largest 64-bit number rather than overflowing.
    std::int64_t Counter() const { return counter_; }
    // Batches run so far (not those passed over).
    std::int64_t BatchesRun() const { return batchesRun_; }
    // Batches run or passed over so far, and all the batches of the range;
    // each held at the largest 64-bit number.
    std::int64_t BatchesWalked() const { return batchesWalked_; }
    std::int64_t BatchesInRange() const { return batchesInRange_; }

private:
    bool LooksAheadAfter(std::int64_t rowsFound) const;
    bool IsLowest(const Batch& batch) const;
    void Count(std::uint64_t batches);

    std::int64_t minId_;
    std::int64_t width_;
    HighestOldIdAtOrBelow highestOldId_;
    std::int64_t top_;
    bool over_ = false;
    bool lookAhead_ = false;
    bool passedOver_ = false;  // the current batch was reached by passing over others
    std::optional<Batch> current_;
    std::int64_t counter_ = 0;
    std::int64_t batchesRun_ = 0;
    std::int64_t batchesWalked_ = 0;
    std::int64_t batchesInRange_;
};

}  // namespace sorvane
