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

#include <atomic>
#include <cstring>

#include "common/run_log.h"
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

class FlushOrderTest : public ::testing::TestWithParam<std::string> {};

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
    test::TempDir dir;
    PurgeSettings settings;
    settings.dsn = source->dsn;
    settings.userName = source->userName;
    settings.password = source->password;
    settings.tableName = table;
    settings.recordsPerTrip = 3;
    settings.deleteRows = settings.backupRows = kTrue16;
    settings.filePath = dir.Path().string() + "/";
    PurgeHost host;
    RunLog log;

    watching = true;
    RunPurge(settings, host, log);
    watching = false;

    EXPECT_EQ(deletesStarted, 8);
    EXPECT_EQ(deletesTooEarly, 0);
    EXPECT_TRUE(test::FetchRows(*source, "SELECT id FROM " + table).empty());
    test::DropTable(*source, table);
    deletesStarted = flushesEnded = deletesTooEarly = 0;
}

INSTANTIATE_TEST_SUITE_P(Dbms, FlushOrderTest, ::testing::ValuesIn(test::TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sorvane
