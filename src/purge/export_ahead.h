#pragma once
// The exports of a backed-up run, done in groups of batches with one flush
// each: a narrow batch would otherwise pay a flush of the backup for every
// handful of rows. A group runs down from the batch the walk is on through
// the batches (or spans) the walk will surely give next (WalkAhead), bounded
// by time and rows. Where the run allows it the next group is exported on a
// thread of its own while the batches of the one before are being deleted.
// Keyed by the bounds of the batch (or span of batches) each export wrote,
// so that a DELETE is only ever checked against the count of the export of
// those same ids, and only once the flush after that export has returned.

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <optional>
#include <vector>

#include "purge/batch_walk.h"

namespace sorvane {

// What one group of exports may hold at most: a run stopped between two
// batches leaves the rest of the group being deleted, and the group
// exported ahead, in the backup though not deleted (the next run exports
// them again: twice in the backup, never lost).
struct ExportGroupBounds {
    std::int64_t rows = 1000;  // a group of batches ends once it holds this many
    std::chrono::milliseconds time{50};
};

class ExportAhead {
public:
    // Writes the rows of the batch to the backup and gives their number;
    // they need not be on stable storage yet.
    using WriteBatch = std::function<std::int64_t(const Batch& batch)>;
    // Puts everything written so far on stable storage.
    using FlushWritten = std::function<void()>;

    // With `onItsOwnThread`, the next group is exported on another thread
    // while the batches of the group before are being deleted; else every
    // group is exported when its first batch is taken.
    ExportAhead(WriteBatch writeBatch, FlushWritten flushWritten, bool onItsOwnThread,
                ExportGroupBounds bounds = {});
    // Waits for an export under way. A run that stops or fails while one is
    // under way therefore returns only once that group is in the backup (not
    // deleted: the next run exports it again, so its rows may be there twice,
    // never lost); the export's own failure is then not reported again.
    ~ExportAhead();
    ExportAhead(const ExportAhead&) = delete;
    ExportAhead& operator=(const ExportAhead&) = delete;

    // The rows of the batch the walk is on, as its first export gave them,
    // flushed: from the group at hand, or the group under way (which must
    // begin with this batch; any other is an internal failure, raised as
    // RunFailure kInternalError), or else a group exported now.
    std::int64_t Take(const Batch& batch, const BatchWalk& walk);

    // The batch exported once more, flushed (after its delete was undone),
    // once the export under way has finished with the connection.
    std::int64_t ExportAgain(const Batch& batch);

private:
    struct Exported {
        Batch batch;
        std::int64_t rows;
    };
    // A group, and the walk ahead standing on its last batch.
    struct Group {
        std::vector<Exported> batches;
        WalkAhead walk;
    };

    // Exports from `first` (where `walk` stands) down the batches the walk
    // will give next, then flushes once.
    Group ExportGroup(const Batch& first, WalkAhead walk);
    void TakeIn(Group group);
    void StartGroup(const Batch& first, WalkAhead walk);

    WriteBatch writeBatch_;
    FlushWritten flushWritten_;
    const bool onItsOwnThread_;
    const ExportGroupBounds bounds_;
    std::deque<Exported> inHand_;  // exported and flushed, not yet taken
    // Standing on the last batch exported, while the walk ahead knows the way.
    std::optional<WalkAhead> walkAhead_;
    std::int64_t lastRows_ = 0;  // the rows of that batch
    std::optional<Batch> aheadFirst_;
    std::future<Group> ahead_;
};

}  // namespace sorvane
