// The exports of a backed-up run with a recording backup in place of the
// database and the file.

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "purge/export_ahead.h"
#include "purge/failure_of.h"

namespace sorvane {
namespace {

// Batch (top - 10, top] holds top / 10 rows; every write and flush noted, and
// whether the thread doing it takes the stop signals.
struct RecordedBackup {
    std::int64_t Write(const Batch& batch) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        Note("write " + std::to_string(batch.top));
        return batch.top / 10;
    }
    void Flush() { Note("flush"); }
    void Note(const std::string& event) {
        sigset_t blocked;
        pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
        const bool signals = !sigismember(&blocked, SIGINT) && !sigismember(&blocked, SIGTERM);
        const std::lock_guard<std::mutex> lock(mutex);
        events.push_back((signals ? "" : "(no signals) ") + event);
    }
    std::mutex mutex;
    std::vector<std::string> events;
};

Batch B(std::int64_t top) { return {top, top - 10}; }

// Ids 1..100 at width 10, every id old.
BatchWalk Walk() {
    return BatchWalk(1, 100, 10, [](std::int64_t atMost) -> std::optional<std::int64_t> { return atMost; });
}

// Takes every batch of the walk in turn, checking each gets its own rows.
void TakeAll(ExportAhead& ahead, BatchWalk& walk) {
    while (!walk.AtEnd()) {
        const Batch batch = walk.Next();
        const std::int64_t rows = ahead.Take(batch, walk);
        EXPECT_EQ(rows, batch.top / 10);
        walk.Done(rows);
    }
}

// On the run's own thread a group ends at its bound of rows or time, or
// where the walk's next batch is not sure (here: the end of the range).
TEST(ExportAhead, FlushesOnceForEachGroupOfBatchesWithinItsBounds) {
    const struct {
        ExportGroupBounds bounds;
        std::vector<std::string> events;
    } cases[] = {
        {{25, std::chrono::hours(1)},
         {"write 100", "write 90", "write 80", "flush", "write 70", "write 60", "write 50", "write 40", "write 30",
          "flush", "write 20", "write 10", "flush"}},
        {{1000, std::chrono::milliseconds(0)},
         {"write 100", "flush", "write 90", "flush", "write 80", "flush", "write 70", "flush", "write 60", "flush",
          "write 50", "flush", "write 40", "flush", "write 30", "flush", "write 20", "flush", "write 10", "flush"}},
    };
    for (const auto& c : cases) {
        RecordedBackup backup;
        {
            ExportAhead ahead([&](const Batch& batch) { return backup.Write(batch); }, [&] { backup.Flush(); }, false,
                              c.bounds);
            BatchWalk walk = Walk();
            TakeAll(ahead, walk);
        }
        EXPECT_EQ(backup.events, c.events);
    }
}

// On a thread of its own, which leaves the stop signals to the run's, the
// next group is exported while the batches of the one before are taken; a
// batch gets only its own export, and the export of a batch again waits for
// the group under way.
TEST(ExportAhead, ExportsTheNextGroupOnItsOwnThreadAndGivesABatchOnlyItsOwnExport) {
    RecordedBackup backup;
    {
        ExportAhead ahead([&](const Batch& batch) { return backup.Write(batch); }, [&] { backup.Flush(); }, true,
                          {25, std::chrono::hours(1)});
        BatchWalk walk = Walk();
        for (const std::int64_t top : {100, 90, 80}) {
            ASSERT_EQ(walk.Next().top, top);
            EXPECT_EQ(ahead.Take(B(top), walk), top / 10);
            if (top == 90) {
                EXPECT_EQ(ahead.ExportAgain(B(90)), 9);
            }
            walk.Done(top / 10);
        }
        const Batch next = walk.Next();
        EXPECT_EQ(FailureOf([&] { ahead.Take(B(60), walk); }).Number(), kInternalError);
        EXPECT_EQ(FailureOf([&] { ahead.Take({70, 50}, walk); }).Number(), kInternalError);  // a span from there
        EXPECT_EQ(ahead.Take(next, walk), 7);
        walk.Done(7);
        ASSERT_EQ(walk.Next().top, 60);
        EXPECT_EQ(FailureOf([&] { ahead.Take(B(50), walk); }).Number(), kInternalError);
    }
    EXPECT_EQ(backup.events,
              (std::vector<std::string>{"write 100", "write 90", "write 80", "flush", "(no signals) write 70",
                                        "(no signals) write 60", "(no signals) write 50", "(no signals) write 40",
                                        "(no signals) write 30", "(no signals) flush", "write 90", "flush",
                                        "(no signals) write 20", "(no signals) write 10", "(no signals) flush"}));
}

}  // namespace
}  // namespace sorvane
