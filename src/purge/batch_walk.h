#pragma once
// The batches of a run, from the top of its id range down: each the ids in
// (lower bound, top], one batch width wide. Holds no database: what lies
// below an empty stretch is asked of an injected function.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

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
// The old ids at or below the given one, highest first, at most `count` of
// them.
using OldIdsAtOrBelow = std::function<std::vector<std::int64_t>(std::int64_t atMost, std::int64_t count)>;

class BatchWalk {
public:
    // The ids minId..maxId (minId <= maxId), width >= 1. Without
    // `highestOldId` every batch of the range is visited in turn. With
    // `oldIds` too, where old rows lie far apart several batches are done
    // as one span (see Next).
    BatchWalk(std::int64_t minId, std::int64_t maxId, std::int64_t width, HighestOldIdAtOrBelow highestOldId,
              OldIdsAtOrBelow oldIds = nullptr);

    // Whether the range is walked.
    bool AtEnd() const { return over_; }

    // The batch to run next (not AtEnd). After a
    // batch without rows (and while the batches that follow are reached by
    // passing over empty ones) it asks for the highest old id below and goes
    // straight to its batch, counting the batches passed over as if they had
    // run: every figure is the one a batch-by-batch walk gives.
    //
    // Where the batch before found no more than half a width of rows, and
    // the walk is given `oldIds`, it asks for the next OldIdsAsked old ids
    // in one go (which also serves as the look-ahead; ids at hand from the
    // last such query serve while they reach a width + 1 ids below the top)
    // and gives a span instead:
    // the ids from the batch's top down to just above the batch holding the
    // last of them (or to the end of the range when fewer came back), which
    // together hold at most a width of old rows. Its top is the batch's,
    // its lower bound lies a whole number of batches below.
    Batch Next();

    // The batch or span Next gave is done, having found `rowsFound` rows.
    // A span is then counted batch by batch as a batch-by-batch walk would
    // have run it, each batch with the old rows its ids said it holds, and
    // `afterEachBatch` is called after each batch that walk would have run
    // (once for a single batch), with the figures as they stood then.
    void Done(std::int64_t rowsFound, const std::function<void()>& afterEachBatch = {});

    // How many old ids the walk asks `oldIds` for at a time, at this width.
    static std::int64_t OldIdsAsked(std::int64_t width);

    // Old rows the ids said lie in the batches of the span that Done has
    // not counted yet (0 outside a span): what the run's row figures hold
    // back so that they grow batch by batch.
    std::int64_t RowsLeftInSpan() const { return rowsLeftInSpan_; }

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
    friend class WalkAhead;
    // A copy that asks the database nothing: where it would, it raises.
    BatchWalk Offline() const;

    bool LooksAheadAfter(std::int64_t rowsFound) const;
    bool WantsSpanAfter(std::int64_t rowsFound) const;
    void Count(std::uint64_t batches);
    // The top the walk goes on from when it looks ahead from top_.
    std::int64_t LookAheadTop();
    void Advance();
    void BatchDone(std::int64_t rowsFound);
    std::optional<std::int64_t> HighestOld(std::int64_t atMost);
    std::int64_t SpanLowerBound() const;
    std::size_t KnownAtOrBelow(std::int64_t top) const;
    bool KnowsSpanFrom(std::int64_t top) const;
    std::int64_t KnownRowsIn(const Batch& batch) const;
    bool InSpan() const { return inSpan_; }

    std::int64_t minId_;
    std::int64_t width_;
    HighestOldIdAtOrBelow highestOldId_;
    std::int64_t top_;
    bool over_ = false;
    bool lookAhead_ = false;
    bool wantsSpan_ = false;  // the next batch asks for the ids of a span
    bool passedOver_ = false;  // the current batch was reached by passing over others
    std::optional<Batch> current_;
    OldIdsAtOrBelow oldIds_;
    // The old ids last asked for, highest first: every old id in
    // [known_.back(), knownTop_], and none below when knownToEnd_.
    std::vector<std::int64_t> known_;
    std::int64_t knownTop_ = 0;
    bool knownValid_ = false;
    bool knownToEnd_ = false;
    std::int64_t spanLowerBound_ = 0;
    std::int64_t rowsLeftInSpan_ = 0;
    bool inSpan_ = false;  // Next gave a span of several batches, not yet done
    std::int64_t counter_ = 0;
    std::int64_t batchesRun_ = 0;
    std::int64_t batchesWalked_ = 0;
    std::int64_t batchesInRange_;
};

// A copy of the walk that goes on ahead of it as far as the ids already at
// hand decide its way: the batches (or spans) it gives are those the walk
// will give next when each before found the rows given. What an export
// running ahead of the walk may export. A value of its own, for another
// thread.
class WalkAhead {
public:
    // Stands on the walk's current batch.
    explicit WalkAhead(const BatchWalk& walk);

    // The batch or span that follows the one it stands on when that found
    // `rowsFound` rows (the walk's count for it), if the database need not be
    // asked for it; it then stands on that one. Nothing once the walk ends
    // or the database would decide, and from then on.
    std::optional<Batch> After(std::int64_t rowsFound);

private:
    BatchWalk copy_;
    bool lost_ = false;
};

}  // namespace sorvane
