#pragma once
// A private ODBC set-up for tests (own ini files in a temporary folder, never
// /etc) and helpers for their tables. SQLite is always there; the test script
// adds its servers through SORVANE_TEST_DSNS ("dsn|user|password,...", its ini
// files named by ODBCSYSINI/ODBCINI) and makes an unreachable one a failure
// with SORVANE_REQUIRE_SERVERS=1.

#include <optional>
#include <string>
#include <vector>

#include "purge/purge_settings.h"

namespace sorvane::test {

struct TestDataSource {
    std::string dsn, userName, password;
    std::string dbms;  // SQL_DBMS_NAME: "SQLite", "MariaDB", "PostgreSQL"
};

void EnsureTestOdbcEnvironment();  // before any direct ODBC use; the helpers call it
TestDataSource MakeSqliteDataSource();  // on a new, empty database file
std::vector<std::string> TestDataSourceNames();  // "SQLite" and the listed servers
// "SQLite" gives a fresh source; nothing when a server cannot be reached (skip).
std::optional<TestDataSource> OpenTestDataSource(const std::string& name);
std::string UniqueTableName(const std::string& stem);  // unique to this process

using Row = std::vector<std::optional<std::string>>;  // nothing = NULL
void RunSql(const TestDataSource& source, const std::string& sql);
std::vector<Row> FetchRows(const TestDataSource& source, const std::string& sql);

struct LogRow {  // times as "YYYY-MM-DD HH:MM:SS"
    std::int64_t id = 0;
    std::string receivedAt, deviceReportedTime;
    int facility = 0, priority = 0;
    std::string fromHost, sysLogTag;
    std::optional<std::string> message;
};

// Rows first..last, all at `time`, with short texts.
std::vector<LogRow> LogRowsAt(int first, int last, const std::string& time);

// Settings that purge `table` of `source`, backing up into `folder`.
PurgeSettings SettingsFor(const TestDataSource& source, const std::string& table, const std::string& folder);

// `size` bytes of text that shows where a value was cut or changed: numbered
// lines of varied lengths, with quotes, commas and line breaks that the
// backup must enclose and double.
std::string LongText(std::size_t size);

// (Re)creates the log table with column types suited to the DBMS; its
// messages hold several MiB.
void CreateLogTable(const TestDataSource& source, const std::string& table);
void InsertLogRows(const TestDataSource& source, const std::string& table, const std::vector<LogRow>& rows);
void DropTable(const TestDataSource& source, const std::string& table);

}  // namespace sorvane::test
