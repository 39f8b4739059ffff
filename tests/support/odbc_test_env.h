#pragma once
// A private ODBC set-up for tests, and small helpers over the program's own
// ODBC layer to prepare and inspect test tables.
//
// Data sources: a fresh SQLite data source on a new database file is always
// available (MakeSqliteDataSource). When SORVANE_TEST_DSNS is set
// ("dsn|user|password,dsn|user|password", with ODBCSYSINI/ODBCINI naming the
// script's ini files), those server data sources are offered too. Either way
// the process gets its own copy of the ini files in a temporary folder, set
// up before the first ODBC call, so that tests never touch /etc or the
// caller's files. With SORVANE_REQUIRE_SERVERS=1 a listed data source that
// cannot connect is a test failure, never a skip.
//
// Typical use, parameterised over every data source:
//   INSTANTIATE_TEST_SUITE_P(Dbms, MyTest, ::testing::ValuesIn(test::TestDataSourceNames()));
//   ... auto source = test::OpenTestDataSource(GetParam());  // skips or fails when unreachable
//   test::CreateLogTable(*source, table); test::InsertLogRows(*source, table, rows);

#include <optional>
#include <string>
#include <vector>

namespace sorvane::test {

struct TestDataSource {
    std::string dsn;
    std::string userName;
    std::string password;
    std::string dbms;  // SQL_DBMS_NAME once connected: "SQLite", "MariaDB", "PostgreSQL"

    // Connection text built the way the program builds it.
    std::string ConnectionText() const;
};

// Sets up the private ini files (once per process) and exports ODBCSYSINI and
// ODBCINI. Every helper below calls it; call it yourself before any direct
// ODBC use.
void EnsureTestOdbcEnvironment();

// A new SQLite data source on a new, empty database file.
TestDataSource MakeSqliteDataSource();

// "SQLite" and the names listed in SORVANE_TEST_DSNS, for test parameters.
std::vector<std::string> TestDataSourceNames();

// The data source for a name from TestDataSourceNames ("SQLite" gives a fresh
// one), with its DBMS name filled in; nothing when a listed server cannot be
// reached and servers are not required (the caller skips). With
// SORVANE_REQUIRE_SERVERS=1 an unreachable server raises instead.
std::optional<TestDataSource> OpenTestDataSource(const std::string& name);

// A name for a test's table that no other test process uses at the same time.
std::string UniqueTableName(const std::string& stem);

using Row = std::vector<std::optional<std::string>>;  // nothing = NULL

void RunSql(const TestDataSource& source, const std::string& sql);
std::vector<Row> FetchRows(const TestDataSource& source, const std::string& sql);

// One row of the log table. Times are "YYYY-MM-DD HH:MM:SS".
struct LogRow {
    int id = 0;
    std::string receivedAt;
    std::string deviceReportedTime;
    int facility = 0;
    int priority = 0;
    std::string fromHost;
    std::string sysLogTag;
    std::optional<std::string> message;
};

// (Re)creates the log table (id, ReceivedAt, DeviceReportedTime, Facility,
// Priority, FromHost, SysLogTag, Message) with DDL suited to the DBMS.
void CreateLogTable(const TestDataSource& source, const std::string& table);
void InsertLogRows(const TestDataSource& source, const std::string& table,
                   const std::vector<LogRow>& rows);
void DropTable(const TestDataSource& source, const std::string& table);

// A text as an SQL string literal for the DBMS (quotes doubled; backslashes
// doubled for MariaDB, which reads them as escapes).
std::string SqlLiteral(const TestDataSource& source, const std::string& text);

}  // namespace sorvane::test
