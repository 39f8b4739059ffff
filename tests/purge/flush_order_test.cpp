// Batches are exported in groups with one flush each, the next group on
// another thread while the one before is being deleted. Watched from inside
// the process, with every flush of a backup made slow: when a batch's DELETE
// starts, every old row of its ids must lie in the part of the backup that a
// flush has put on stable storage. This file replaces fsync, SQLPrepare,
// SQLBindParameter and SQLExecute for its own test program only, passing
// each call on.

#include <dlfcn.h>
#include <sql.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>

#include "common/run_log.h"
#include "purge/batch_walk.h"
#include "purge/run_purge.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

namespace {

std::atomic<bool> watching{false};
std::string backupFolder;          // set before watching starts
std::set<std::int64_t> oldIds;     // likewise
std::atomic<SQLHSTMT> deleteStatement{nullptr};
std::atomic<const std::int64_t*> deleteTop{nullptr}, deleteBelow{nullptr};
std::atomic<int> deletesStarted{0};
std::atomic<int> deletesTooEarly{0};
std::mutex flushedMutex;
std::string flushedFile;           // the backup file, and how much of it a
std::int64_t flushedBytes = 0;     // flush has put on stable storage

template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::string PathOf(int descriptor) {
    char path[4096];
    const ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), path, sizeof path);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// Whether every old id in (below, top] is in the flushed part of the backup.
bool FlushedAll(std::int64_t top, std::int64_t below) {
    std::set<std::int64_t> flushed;
    {
        const std::lock_guard<std::mutex> lock(flushedMutex);
        std::ifstream file(flushedFile, std::ios::binary);
        std::string text(static_cast<std::size_t>(flushedBytes), '\0');
        file.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(file.gcount()));
        for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
            flushed.insert(std::strtoll(text.c_str() + at, nullptr, 10));
            if (text.find('\n', at) == std::string::npos) break;
        }
    }
    for (auto id = oldIds.upper_bound(below); id != oldIds.end() && *id <= top; ++id) {
        if (!flushed.contains(*id)) return false;
    }
    return true;
}

}  // namespace

extern "C" int fsync(int descriptor) {
    static const auto next = Next<int (*)(int)>("fsync");
    struct stat status {};
    const std::string path = watching ? PathOf(descriptor) : std::string();
    const bool backup = watching && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) &&
                        path.starts_with(backupFolder) && !path.ends_with(".unfinished");
    if (backup) ::usleep(30000);
    const int result = next(descriptor);
    if (backup && result == 0) {
        // What was written before the flush began is on stable storage now.
        const std::lock_guard<std::mutex> lock(flushedMutex);
        flushedFile = path;
        flushedBytes = status.st_size;
    }
    return result;
}

extern "C" SQLRETURN SQL_API SQLPrepare(SQLHSTMT statement, SQLCHAR* text, SQLINTEGER length) {
    static const auto next = Next<SQLRETURN(SQL_API*)(SQLHSTMT, SQLCHAR*, SQLINTEGER)>("SQLPrepare");
    if (watching && std::strncmp(reinterpret_cast<const char*>(text), "DELETE", 6) == 0) {
        deleteStatement = statement;
    }
    return next(statement, text, length);
}

extern "C" SQLRETURN SQL_API SQLBindParameter(SQLHSTMT statement, SQLUSMALLINT number, SQLSMALLINT direction,
                                              SQLSMALLINT valueType, SQLSMALLINT parameterType, SQLULEN size,
                                              SQLSMALLINT digits, SQLPOINTER value, SQLLEN bufferLength,
                                              SQLLEN* indicator) {
    static const auto next = Next<SQLRETURN(SQL_API*)(SQLHSTMT, SQLUSMALLINT, SQLSMALLINT, SQLSMALLINT, SQLSMALLINT,
                                                      SQLULEN, SQLSMALLINT, SQLPOINTER, SQLLEN, SQLLEN*)>(
        "SQLBindParameter");
    if (watching && statement == deleteStatement) {
        (number == 1 ? deleteTop : deleteBelow) = static_cast<const std::int64_t*>(value);
    }
    return next(statement, number, direction, valueType, parameterType, size, digits, value, bufferLength,
                indicator);
}

extern "C" SQLRETURN SQL_API SQLExecute(SQLHSTMT statement) {
    static const auto next = Next<SQLRETURN(SQL_API*)(SQLHSTMT)>("SQLExecute");
    if (watching && statement == deleteStatement) {
        ++deletesStarted;
        if (!FlushedAll(*deleteTop, *deleteBelow)) ++deletesTooEarly;
    }
    return next(statement);
}

namespace sorvane {
namespace {

class FlushOrderTest : public ::testing::TestWithParam<std::string> {
protected:
    void TearDown() override {
        deletesStarted = deletesTooEarly = 0;
        flushedFile.clear();
        flushedBytes = 0;
        oldIds.clear();
    }

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
        backupFolder = std::filesystem::canonical(dir_.Path()).string() + "/";
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
    // More rows than one group of exports holds: the next group is exported
    // (on another thread where the database allows) while the batches of the
    // one before are deleted.
    for (int id = 1; id <= 1200; ++id) {
        oldIds.insert(id);
        rows.push_back({id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t", "row"});
    }
    test::InsertLogRows(*source, table, rows);
    PurgeHost host;
    RunWatched(*source, table, 3, host);

    EXPECT_EQ(deletesStarted, 400);
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
    oldIds = old;
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
