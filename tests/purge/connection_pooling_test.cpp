// Connection pooling through the driver manager, against the test script's
// servers (their drivers are pooled there): the export's connection of every
// batch is one physical connection, and one that died while it waited in the
// pool is replaced without failing the batch.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include "purge/connection_text.h"
#include "purge/export_batch_to_csv.h"
#include "purge/odbc_connection.h"
#include "purge/odbc_statement.h"
#include "support/csv_reader.h"
#include "support/odbc_test_env.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

bool PoolingConfigured() {
    const char* folder = std::getenv("ODBCSYSINI");
    std::ifstream drivers(std::string(folder != nullptr ? folder : "") + "/odbcinst.ini");
    const std::regex pooling(R"(\s*Pooling\s*=\s*(Yes|1|On)\s*)", std::regex::icase);
    for (std::string line; std::getline(drivers, line);) {
        if (std::regex_match(line, pooling)) return true;
    }
    return false;
}

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
        if (source_.dbms == "SQLite") GTEST_SKIP() << "a file database has no server connection to pool";
        if (!PoolingConfigured()) GTEST_SKIP() << "odbcinst.ini does not turn pooling on";
        postgres_ = source_.dbms == "PostgreSQL";
    }

    std::string Text() const {
        return BuildConnectionText(source_.dsn, source_.userName, source_.password);
    }
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

    test::TestDataSource source_;
    bool postgres_ = false;
};

TEST_P(ConnectionPoolingTest, ConnectionsOpenedInTurnShareOneServerSession) {
    // Stays open throughout, so it is never the pooled one.
    const odbc::Connection observer(Text());
    const auto connectionsStarted = [&] {
        return std::stoll(postgres_ ? "0" : Scalar(observer, "SELECT VARIABLE_VALUE FROM "
                          "information_schema.GLOBAL_STATUS WHERE VARIABLE_NAME = 'CONNECTIONS'"));
    };
    const long long startedBefore = connectionsStarted();
    std::set<std::string> sessions;
    for (int batch = 0; batch < 10; ++batch) {
        const odbc::Connection connection(Text());
        sessions.insert(SessionOf(connection));
    }
    EXPECT_EQ(sessions.size(), 1u);
    if (!postgres_) {
        EXPECT_EQ(connectionsStarted() - startedBefore, 1);
    }
}

TEST_P(ConnectionPoolingTest, AnExportOnAConnectionThatDiedInThePoolStillSucceeds) {
    const std::string table = test::UniqueTableName("PooledExport");
    test::CreateLogTable(source_, table);
    std::vector<test::LogRow> rows;
    for (int id = 1; id <= 5; ++id) {
        rows.push_back({id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t",
                        "row " + std::to_string(id)});
    }
    test::InsertLogRows(source_, table, rows);

    const odbc::Connection observer(Text());
    std::string pooled;
    {
        const odbc::Connection connection(Text());
        pooled = SessionOf(connection);
    }
    EndSession(observer, pooled);

    test::TempDir dir;
    PurgeSettings settings;
    settings.dsn = source_.dsn;
    settings.userName = source_.userName;
    settings.password = source_.password;
    settings.tableName = table;
    settings.filePath = dir.Path().string() + "/";
    PurgeHost host;
    BackupRun backupRun;
    ExportBatchToCsv(settings, 5, 10, "{ts '2026-11-30 00:00:00'}", host, backupRun,
                     SystemRunClock());
    EXPECT_EQ(test::ReadCsvWithPython(dir.Path() / "BackupFile.csv").size(), rows.size());
    test::DropTable(source_, table);
}

INSTANTIATE_TEST_SUITE_P(Dbms, ConnectionPoolingTest, ::testing::ValuesIn(test::TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sorvane
