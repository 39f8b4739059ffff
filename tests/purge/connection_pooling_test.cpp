// The export's connection kept from batch to batch, against the test script's
// servers: one login serves every batch, and a connection that died while it
// was kept is replaced without failing the batch.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <set>
#include <thread>

#include "common/run_log.h"
#include "purge/connection_text.h"
#include "purge/csv_batch_export.h"
#include "purge/run_purge.h"
#include "odbc/connection.h"
#include "odbc/connection_pool.h"
#include "odbc/statement.h"
#include "support/csv_reader.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

std::string Scalar(const odbc::Connection& connection, const std::string& sql) {
    odbc::Statement statement(connection);
    statement.ExecuteDirect(sql);
    EXPECT_TRUE(statement.Fetch()) << sql;
    return statement.Text(0).value_or("");
}

class ConnectionPoolingTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        auto source = test::OpenTestDataSource(GetParam());
        if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
        source_ = *source;
        if (source_.dbms == "SQLite") GTEST_SKIP() << "a file database has no server session";
        postgres_ = source_.dbms == "PostgreSQL";
        table_ = test::UniqueTableName("Pooled");
        test::CreateLogTable(source_, table_);
        test::InsertLogRows(source_, table_, test::LogRowsAt(1, 30, "2026-11-01 10:00:00"));
        settings_ = test::SettingsFor(source_, table_, dir_.Path().string());
        settings_.days = 7;
    }
    void TearDown() override {
        if (!table_.empty()) test::DropTable(source_, table_);
    }
    std::string Text() const { return BuildConnectionText(source_.dsn, source_.userName, source_.password); }
    // The server's own number for the session behind a connection.
    std::string SessionOf(const odbc::Connection& connection) const {
        return Scalar(connection, postgres_ ? "SELECT pg_backend_pid()" : "SELECT CONNECTION_ID()");
    }
    // Ends a session from the server's side, as a restart or an idle limit would.
    void EndSession(const odbc::Connection& observer, const std::string& session) const {
        if (postgres_) {
            Scalar(observer, "SELECT pg_terminate_backend(" + session + ")");
        } else {
            odbc::Statement(observer).ExecuteDirect("KILL " + session);
        }
        const std::string still = postgres_
            ? "SELECT count(*) FROM pg_stat_activity WHERE pid = " + session
            : "SELECT count(*) FROM information_schema.processlist WHERE id = " + session;
        for (int tries = 0; tries < 100 && Scalar(observer, still) != "0"; ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_EQ(Scalar(observer, still), "0") << "session " << session << " did not end";
    }

    // MariaDB's count of logins since it started; nothing for other servers.
    std::optional<long long> LoginsSoFar(const odbc::Connection& observer) const {
        if (source_.dbms != "MariaDB") return std::nullopt;
        return std::stoll(Scalar(observer, "SELECT VARIABLE_VALUE FROM information_schema.GLOBAL_STATUS "
                                           "WHERE VARIABLE_NAME = 'CONNECTIONS'"));
    }

    test::TestDataSource source_;
    bool postgres_ = false;
    std::string table_;
    test::TempDir dir_;
    PurgeSettings settings_;
    PurgeHost host_;
    RunLog log_;
};

TEST_P(ConnectionPoolingTest, ConnectionsOpenedInTurnShareOneSession) {
    odbc::ConnectionPool pool(Text());
    std::set<std::string> sessions;
    for (int batch = 0; batch < 3; ++batch) sessions.insert(SessionOf(odbc::PooledConnection(pool).Get()));
    EXPECT_EQ(sessions.size(), 1u);
}

TEST_P(ConnectionPoolingTest, AnExportOnAKeptConnectionThatDiedStillSucceeds) {
    odbc::ConnectionPool pool(Text());
    const std::string session = SessionOf(odbc::PooledConnection(pool).Get());
    EndSession(odbc::Connection(Text()), session);
    CsvBatchExport backup(settings_, "{ts '2026-11-30 00:00:00'}", pool, host_, log_, SystemRunClock());
    backup.WriteBatch({5, -5});
    backup.FlushWritten();
    EXPECT_EQ(test::ReadCsvWithPython(dir_.Path() / "BackupFile.csv").size(), 5u);  // ids 1..5
}

TEST_P(ConnectionPoolingTest, ARunLogsInTwiceAndLeavesNoConnectionOpen) {
    const odbc::Connection observer(Text());
    const auto loginsBefore = LoginsSoFar(observer);
    const std::string ours = postgres_
        ? "SELECT count(*) FROM pg_stat_activity WHERE usename = current_user"
        : "SELECT count(*) FROM information_schema.processlist WHERE user = substring_index(user(), '@', 1)";
    const std::string openBefore = Scalar(observer, ours);
    settings_.recordsPerTrip = 1;  // 30 batches
    settings_.backupRows = kTrue16;
    EXPECT_EQ(RunPurge(settings_, host_, log_), PurgeOutcome::Finished);
    EXPECT_EQ(test::ReadCsvWithPython(dir_.Path() / "BackupFile.csv").size(), 30u);
    if (loginsBefore) {
        EXPECT_EQ(*LoginsSoFar(observer) - *loginsBefore, 2);  // the run's and the export's
    }
    EXPECT_EQ(Scalar(observer, ours), openBefore);
}

INSTANTIATE_TEST_SUITE_P(Dbms, ConnectionPoolingTest, ::testing::ValuesIn(test::TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sorvane
