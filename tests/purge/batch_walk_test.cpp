// The batch walk against a batch-by-batch walk worked out directly from the
// old ids: random sets, dense, sparse, clustered and at the edges of the
// 64-bit id range, at widths from 1 to the largest a run takes.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <random>
#include <set>

#include "purge/batch_walk.h"

namespace sorvane {
namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct Visit {
    std::int64_t top, lowerBound, rows, counter;
    bool operator==(const Visit&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Visit& v) { return out << v.top << "/" << v.rows << "/" << v.counter; }

// What a batch-by-batch walk from max(ids) down sees in its batches that hold
// rows, and its final counter; in 128 bits, where nothing overflows.
std::pair<std::vector<Visit>, std::int64_t> Expected(const std::set<std::int64_t>& ids, std::int64_t width) {
    const __int128 top = *ids.rbegin(), w = width;
    const auto counter = [](__int128 c) { return static_cast<std::int64_t>(std::min<__int128>(c, kMax)); };
    std::vector<Visit> visits;
    for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
        const __int128 k = (top - *id) / w, batchTop = top - k * w;
        const __int128 lower = std::max<__int128>(batchTop - w, kMin);
        if (*id <= lower) continue;  // the lowest id of all lies in no batch
        if (visits.empty() || visits.back().top != batchTop) visits.push_back({static_cast<std::int64_t>(batchTop),
                                                                              static_cast<std::int64_t>(lower), 0, counter((k + 1) * w)});
        ++visits.back().rows;
    }
    return {visits, counter(((top - *ids.begin()) / w + 1) * w)};
}

std::set<std::int64_t> RandomIds(std::mt19937_64& random, std::int64_t low, std::int64_t high, int count) {
    std::uniform_int_distribution<std::int64_t> pick(low, high);
    std::set<std::int64_t> ids;
    while (static_cast<int>(ids.size()) < count) ids.insert(pick(random));
    return ids;
}

std::set<std::int64_t> Clusters(std::mt19937_64& random, std::int64_t low, std::int64_t high) {
    std::set<std::int64_t> ids;
    for (const std::int64_t centre : RandomIds(random, low + 1000, high - 1000, 6)) {
        ids.merge(RandomIds(random, centre - 300, centre + 300, 40));
    }
    return ids;
}

// What a walk ahead said would come next came, and the walk got there
// without asking the database.
void ExpectSaidToComeNext(const std::optional<Batch>& sure, const Batch& batch, int asked) {
    if (!sure) return;
    EXPECT_TRUE(sure->top == batch.top && sure->lowerBound == batch.lowerBound) << "the batch said to come next did not";
    EXPECT_EQ(asked, 0) << "asked before the batch said to come next";
}

TEST(BatchWalk, VisitsTheBatchesWithRowsABatchByBatchWalkVisitsWithItsCounter) {
    std::mt19937_64 random(17);
    std::set<std::int64_t> dense;
    for (std::int64_t id = 101; id <= 400; ++id) dense.insert(id);
    const std::pair<const char*, std::set<std::int64_t>> sets[] = {
        {"dense", dense},
        {"one id", {125}},
        {"sparse", RandomIds(random, -1000000, 100000000, 60)},
        {"clustered", Clusters(random, 0, 10000000)},
        {"around 2^31 and 2^32", {2147483000, 2147483647, 2147483648, 3000000000, 4294967295, 4294967296}},
        {"top of the range", RandomIds(random, kMax - 5000, kMax, 50)},
        {"bottom of the range", RandomIds(random, kMin + 1, kMin + 5000, 50)},
        {"lowest id of all", {kMin, kMin + 1, kMin + 999, kMin + 1000, kMin + 2500}},
        {"whole range", {kMin + 1, -2147483648, -1, 0, 4600000000000000000, kMax}},
        {"clustered far apart", Clusters(random, -4600000000000000000, 4600000000000000000)},
    };
    for (const auto& [name, ids] : sets) {
        for (const std::int64_t width : {1, 2, 7, 10, 1000, 1000000, 2147483647}) {
            SCOPED_TRACE(::testing::Message() << name << ", width " << width);
            const auto [expected, expectedCounter] = Expected(ids, width);
            int asked = 0;
            BatchWalk walk(*ids.begin(), *ids.rbegin(), width, [&](std::int64_t atMost) -> std::optional<std::int64_t> {
                ++asked;
                const auto above = ids.upper_bound(atMost);
                if (above == ids.begin()) return std::nullopt;
                return *std::prev(above);
            });
            std::vector<Visit> visited;
            std::optional<Batch> sure;
            int batches = 0;
            while (!walk.AtEnd()) {
                const Batch batch = walk.Next();
                ASSERT_LT(++batches, 100000) << "the walk does not pass over empty stretches";
                ExpectSaidToComeNext(sure, batch, asked);
                asked = 0;
                const std::int64_t rows = std::distance(ids.upper_bound(batch.lowerBound), ids.upper_bound(batch.top));
                sure = WalkAhead(walk).After(rows);
                walk.Done(rows);
                if (rows > 0) visited.push_back({batch.top, batch.lowerBound, rows, walk.Counter()});
            }
            EXPECT_EQ(visited, expected);
            EXPECT_EQ(walk.Counter(), expectedCounter);
            // Each look-ahead lands on a batch with rows or on the lowest one.
            EXPECT_LE(walk.BatchesRun(), 2 * static_cast<std::int64_t>(expected.size()) + 1);
        }
    }
}

struct Figures {
    std::int64_t counter, batchesRun, batchesWalked, rows;
    bool operator==(const Figures&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Figures& f) {
    return out << f.counter << "/" << f.batchesRun << "/" << f.batchesWalked << "/" << f.rows;
}

std::int64_t RowsIn(const std::set<std::int64_t>& ids, const Batch& batch) {
    return std::distance(ids.upper_bound(batch.lowerBound), ids.upper_bound(batch.top));
}

// The figures after each batch a walk runs, with spans or batch by batch;
// and how many batches or spans were done.
std::pair<std::vector<Figures>, int> Walk(const std::set<std::int64_t>& ids, std::int64_t width, bool spans,
                                          std::int64_t& widestSpan) {
    int asked = 0;
    const auto highest = [&](std::int64_t atMost) -> std::optional<std::int64_t> {
        ++asked;
        const auto above = ids.upper_bound(atMost);
        if (above == ids.begin()) return std::nullopt;
        return *std::prev(above);
    };
    const auto oldIds = [&](std::int64_t atMost, std::int64_t count) {
        ++asked;
        std::vector<std::int64_t> found;
        for (auto id = std::make_reverse_iterator(ids.upper_bound(atMost)); id != ids.rend() && count-- > 0; ++id) {
            found.push_back(*id);
        }
        return found;
    };
    BatchWalk walk(*ids.begin(), *ids.rbegin(), width, highest, spans ? OldIdsAtOrBelow(oldIds) : nullptr);
    std::vector<Figures> figures;
    std::int64_t rowsDone = 0;
    int executions = 0;
    std::optional<Batch> sure;
    while (!walk.AtEnd() && ++executions < 100000) {
        const Batch span = walk.Next();
        ExpectSaidToComeNext(sure, span, asked);
        asked = 0;
        const std::int64_t rows = RowsIn(ids, span);
        sure = WalkAhead(walk).After(rows);
        widestSpan = std::max(widestSpan, rows);
        walk.Done(rows, [&] {
            figures.push_back({walk.Counter(), walk.BatchesRun(), walk.BatchesWalked(), rowsDone + rows - walk.RowsLeftInSpan()});
        });
        rowsDone += rows;
    }
    return {figures, executions};
}

TEST(BatchWalk, SpansOfSparseBatchesGiveTheFiguresOfTheBatchByBatchWalkInFewerExecutions) {
    std::mt19937_64 random(23);
    std::set<std::int64_t> everyHundredth, mixed;
    for (std::int64_t id = 100; id <= 100000; id += 100) everyHundredth.insert(id);
    std::set<std::int64_t> everySeventh;  // more ids than one query brings
    for (std::int64_t id = 7; id <= 210000; id += 7) everySeventh.insert(id);
    for (std::int64_t id = 1; id <= 3000; ++id) mixed.insert(id);  // dense, then sparse
    mixed.merge(RandomIds(random, 3001, 10000000, 300));
    const std::pair<const char*, std::set<std::int64_t>> sets[] = {
        {"every hundredth", everyHundredth},
        {"every seventh", everySeventh},
        {"dense then sparse", mixed},
        {"sparse", RandomIds(random, -1000000, 100000000, 600)},
        {"clustered", Clusters(random, 0, 10000000)},
        {"bottom of the range", RandomIds(random, kMin, kMin + 50000, 500)},
        {"top of the range", RandomIds(random, kMax - 50000, kMax, 500)},
        {"one id", {125}},
    };
    for (const auto& [name, ids] : sets) {
        for (const std::int64_t width : {1, 2, 10, 1000, 100000}) {
            SCOPED_TRACE(::testing::Message() << name << ", width " << width);
            std::int64_t widest = 0;
            const auto [byBatch, batches] = Walk(ids, width, false, widest);
            widest = 0;
            const auto [bySpan, spans] = Walk(ids, width, true, widest);
            EXPECT_EQ(bySpan, byBatch);
            EXPECT_LE(widest, width) << "a span held more rows than the width";
            // A span ends only at a batch that would take it beyond the width.
            const std::int64_t spansAtMost = 2 * static_cast<std::int64_t>(ids.size()) / width + 3;
            if (width <= 1000) {
                EXPECT_LE(spans, spansAtMost);
            }
        }
    }
}

}  // namespace
}  // namespace sorvane
