// A command-line run exports the batch below while the current one is being
// deleted. Watched from inside the process, with every flush of a backup
// made slow: no batch's DELETE may start before as many backup flushes have
// ended as batches have been deleted. This file replaces fsync, SQLPrepare
// and SQLExecute for its own test program only, passing each call on.

#include <dlfcn.h>
#include <sql.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <set>
#include <cstring>

#include "common/run_log.h"
#include "purge/batch_walk.h"
#include "purge/run_purge.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

namespace {

std::atomic<bool> watching{false};
std::atomic<SQLHSTMT> deleteStatement{nullptr};
std::atomic<int> flushesEnded{0};
std::atomic<int> deletesStarted{0};
std::atomic<int> deletesTooEarly{0};

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int fsync(int descriptor) {
    static const auto next = Next<int (*)(int)>("fsync");
    struct stat status {};
    const bool backup = watching && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode);
    if (backup) ::usleep(30000);
    const int result = next(descriptor);
    if (backup) ++flushesEnded;
    return result;
}

extern "C" SQLRETURN SQL_API SQLPrepare(SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length) {
    static const auto next = Next<SQLRETURN(SQL_API*)(SQLHSTMT, SQLCHAR*, SQLINTEGER)>("SQLPrepare");
    if (watching && std::strncmp(reinterpret_cast<const char*>(text), "DELETE", 6) == 0) {
        deleteStatement = statement;
    }
    return next(statement, text, length);
}

extern "C" SQLRETURN SQL_API SQLExecute(SQLHSTMT statement) {
    static const auto next = Next<SQLRETURN(SQL_API*)(SQLHSTMT)>("SQLExecute");
    if (watching && statement == deleteStatement && flushesEnded < ++deletesStarted) ++deletesTooEarly;
    return next(statement);
}

namespace sorvane {
namespace {

class FlushOrderTest : public ::testing::TestWithParam<std::string> {
protected:
    void TearDown() override { deletesStarted = flushesEnded = deletesTooEarly = 0; }

    // A purge with backup of `table` at `width`, its DELETEs and flushes watched.
    PurgeOutcome RunWatched(const test::TestDataSource& source, const std::string& table, std::int32_t width,
                            PurgeHost& host) {
        PurgeSettings settings;
        settings.dsn = source.dsn;
        settings.userName = source.userName;
        settings.password = source.password;
        settings.tableName = table;
        settings.recordsPerTrip = width;
        settings.deleteRows = settings.backupRows = kTrue16;
        settings.filePath = dir_.Path().string() + "/";
        RunLog log;
        watching = true;
        const PurgeOutcome outcome = RunPurge(settings, host, log);
        watching = false;
        return outcome;
    }

    test::TempDir dir_;
};

TEST_P(FlushOrderTest, NoBatchIsDeletedBeforeItsBackupIsFlushed) {
    const auto source = test::OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = test::UniqueTableName("FlushOrder");
    test::CreateLogTable(*source, table);
    std::vector<test::LogRow> rows;
    for (int id = 1; id <= 24; ++id) {
        rows.push_back({id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t", "row"});
    }
    test::InsertLogRows(*source, table, rows);
    PurgeHost host;
    RunWatched(*source, table, 3, host);

    EXPECT_EQ(deletesStarted, 8);
    EXPECT_EQ(deletesTooEarly, 0);
    EXPECT_TRUE(test::FetchRows(*source, "SELECT id FROM " + table).empty());
    test::DropTable(*source, table);
}

// The figures a host is told after each batch.
struct Tallies : PurgeHost {
    void BatchTallied(const RunTally& tally) override {
        seen.push_back({tally.batchesDone, tally.batchesTotal, tally.rowsDeleted, tally.rowsBackedUp});
    }
    void BatchDone(std::int64_t counter) override { counters.push_back(counter); }
    std::vector<std::array<std::int64_t, 4>> seen;
    std::vector<std::int64_t> counters;
};

// Old rows 100 ids apart, young ones between them, at width 10: a span of
// several batches goes in one DELETE (flushed first), and the host is told
// what a batch-by-batch walk over the same ids tells it.
TEST_P(FlushOrderTest, SparseBatchesGoAsSpansWithTheFiguresOfTheBatchByBatchWalk) {
    const auto source = test::OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    std::set<std::int64_t> old;
    std::vector<test::LogRow> rows;
    for (std::int64_t id = 7; id <= 4500; id += 100) {
        old.insert(id);
        rows.push_back({id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t", "old"});
        rows.push_back({id + 50, "2099-11-01 10:00:00", "2099-11-01 10:00:00", 1, 2, "h", "t", "young"});
    }
    for (std::int64_t id = 4601; id <= 4625; ++id) {  // and a dense stretch on top
        old.insert(id);
        rows.push_back({id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t", "old"});
    }
    const std::string table = test::UniqueTableName("Spans");
    test::CreateLogTable(*source, table);
    test::InsertLogRows(*source, table, rows);
    Tallies host;
    EXPECT_EQ(RunWatched(*source, table, 10, host), PurgeOutcome::Finished);

    // The batch-by-batch walk over the same old ids.
    Tallies expected;
    BatchWalk walk(*old.begin(), *old.rbegin(), 10, [&](std::int64_t atMost) -> std::optional<std::int64_t> {
        const auto above = old.upper_bound(atMost);
        if (above == old.begin()) return std::nullopt;
        return *std::prev(above);
    });
    std::int64_t gone = 0;
    while (!walk.AtEnd()) {
        const Batch batch = walk.Next();
        gone += std::distance(old.upper_bound(batch.lowerBound), old.upper_bound(batch.top));
        walk.Done(std::distance(old.upper_bound(batch.lowerBound), old.upper_bound(batch.top)));
        expected.counters.push_back(walk.Counter());
        expected.seen.push_back({walk.BatchesWalked(), walk.BatchesInRange(), gone, gone});
    }
    EXPECT_EQ(host.counters, expected.counters);
    EXPECT_EQ(host.seen, expected.seen);
    EXPECT_GE(walk.BatchesRun(), 45);
    EXPECT_LE(deletesStarted, 10) << "batch by batch: " << walk.BatchesRun();
    EXPECT_EQ(deletesTooEarly, 0);
    EXPECT_EQ(test::FetchRows(*source, "SELECT id FROM " + table).size(), 45u);
    test::DropTable(*source, table);
}

INSTANTIATE_TEST_SUITE_P(Dbms, FlushOrderTest, ::testing::ValuesIn(test::TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sorvane
