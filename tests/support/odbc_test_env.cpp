#include "support/odbc_test_env.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "purge/connection_text.h"
#include "odbc/statement.h"
#include "common/run_failure.h"
#include "support/temp_dir.h"

namespace sorvane::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSqliteDriver = "SorvaneTestSQLite3";

const fs::path& Folder() {  // this process's ini files and SQLite databases
    static const TempDir folder;
    return folder.Path();
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void AppendText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::app);
    if (!(out << text)) throw std::runtime_error("cannot write " + file.string());
}

std::string SqliteDriverLibrary() {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator("/usr/lib", ignored)) {
        const fs::path candidate = entry.path() / "odbc/libsqlite3odbc.so";
        if (fs::exists(candidate, ignored)) return candidate.string();
    }
    return "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
}

std::vector<TestDataSource> ListedSources(const char* variable = "SORVANE_TEST_DSNS") {
    std::vector<TestDataSource> sources;
    std::istringstream list(Env(variable));
    for (std::string entry; std::getline(list, entry, ',');) {
        std::istringstream fields(entry);
        TestDataSource source;
        std::getline(fields, source.dsn, '|');
        std::getline(fields, source.userName, '|');
        std::getline(fields, source.password);
        if (!source.dsn.empty()) sources.push_back(source);
    }
    return sources;
}

std::string ConnectionText(const TestDataSource& s) {
    return BuildConnectionText(s.dsn, s.userName, s.password);
}

// Quotes doubled; backslashes too for MariaDB, which reads them as escapes.
std::string SqlLiteral(const TestDataSource& source, const std::optional<std::string>& text) {
    if (!text) return "NULL";
    std::string literal = "'";
    for (const char c : *text) {
        if (c == '\'' || (c == '\\' && (source.dbms == "MariaDB" || source.dbms == "MySQL"))) literal += c;
        literal += c;
    }
    return literal + "'";
}

}  // namespace

void EnsureTestOdbcEnvironment() {
    [[maybe_unused]] static const bool done = [] {
        const fs::path drivers = Folder() / "odbcinst.ini";
        const fs::path sources = Folder() / "odbc.ini";
        if (std::getenv("SORVANE_TEST_DSNS") != nullptr) {
            // The script's drivers and servers, in a copy this process extends; a missing file stays missing.
            std::error_code missing;
            fs::copy_file(Env("ODBCSYSINI") + "/odbcinst.ini", drivers, missing);
            fs::copy_file(Env("ODBCINI"), sources, missing);
        }
        AppendText(drivers, std::string("\n[") + kSqliteDriver + "]\nDriver=" + SqliteDriverLibrary() + "\n");
        AppendText(sources, "");
        ::setenv("ODBCSYSINI", Folder().c_str(), 1);
        ::setenv("ODBCINI", sources.c_str(), 1);
        return true;
    }();
}

TestDataSource MakeSqliteDataSource() {
    EnsureTestOdbcEnvironment();
    static int made = 0;
    const std::string number = std::to_string(++made);
    TestDataSource source{"SorvaneTestSQLite" + number, "", "", "SQLite"};
    const fs::path database = Folder() / ("sqlite" + number + ".db");
    AppendText(Folder() / "odbc.ini", "\n[" + source.dsn + "]\nDriver=" + kSqliteDriver +
                                          "\nDatabase=" + database.string() + "\nTimeout=5000\n");
    return source;
}

std::vector<std::string> TestDataSourceNames() {
    std::vector<std::string> names{"SQLite"};
    for (const auto& listed : ListedSources()) names.push_back(listed.dsn);
    return names;
}

std::vector<TestDataSource> TestReaders() { return ListedSources("SORVANE_TEST_READERS"); }

std::optional<TestDataSource> OpenTestDataSource(const std::string& name) {
    if (name == "SQLite") return MakeSqliteDataSource();
    EnsureTestOdbcEnvironment();
    for (TestDataSource source : ListedSources()) {
        if (source.dsn != name) continue;
        try {
            source.dbms = odbc::Connection(ConnectionText(source)).DbmsName();
            return source;
        } catch (const RunFailure& failure) {
            if (Env("SORVANE_REQUIRE_SERVERS") != "1") return std::nullopt;
            throw std::runtime_error("data source " + name + " cannot connect: " + failure.Description());
        }
    }
    throw std::runtime_error("data source " + name + " is not listed in SORVANE_TEST_DSNS");
}

std::string UniqueTableName(const std::string& stem) { return stem + "_" + std::to_string(::getpid()); }

void RunSql(const TestDataSource& source, const std::string& sql) { FetchRows(source, sql); }

std::vector<Row> FetchRows(const TestDataSource& source, const std::string& sql) {
    EnsureTestOdbcEnvironment();
    odbc::Connection connection(ConnectionText(source));
    odbc::Statement statement(connection);
    statement.ExecuteDirect(sql);
    std::vector<Row> rows;
    for (const int columns = statement.ColumnCount(); columns > 0 && statement.Fetch();) {
        Row& row = rows.emplace_back();
        for (int column = 0; column < columns; ++column) row.push_back(statement.Text(column));
    }
    return rows;
}

void DropTable(const TestDataSource& source, const std::string& table) {
    RunSql(source, "DROP TABLE IF EXISTS " + table);
}

void CreateLogTable(const TestDataSource& source, const std::string& table) {
    DropTable(source, table);
    const bool mariaDb = source.dbms == "MariaDB" || source.dbms == "MySQL";
    // SQLite keeps the times as the text inserted, which its driver compares the cut-off with.
    const std::string time = mariaDb ? "DATETIME NULL" : "TIMESTAMP";
    RunSql(source, "CREATE TABLE " + table + " (id INTEGER NOT NULL PRIMARY KEY, ReceivedAt " + time +
                       ", DeviceReportedTime " + time + ", Facility SMALLINT, Priority SMALLINT, " +
                       "FromHost VARCHAR(60), SysLogTag VARCHAR(60), Message " + (mariaDb ? "LONGTEXT" : "TEXT") + ")" +
                       (mariaDb ? " CHARACTER SET utf8mb4" : ""));
}

std::vector<LogRow> LogRowsAt(int first, int last, const std::string& time) {
    std::vector<LogRow> rows;
    for (int id = first; id <= last; ++id) rows.push_back({id, time, time, 1, 2, "h", "t", "row " + std::to_string(id)});
    return rows;
}

PurgeSettings SettingsFor(const TestDataSource& source, const std::string& table, const std::string& folder) {
    PurgeSettings settings;
    settings.dsn = source.dsn;
    settings.userName = source.userName;
    settings.password = source.password;
    settings.tableName = table;
    settings.filePath = folder + "/";
    return settings;
}

std::string LongText(std::size_t size) {
    std::string text;
    for (std::size_t line = 0; text.size() < size; ++line) {
        text += "line " + std::to_string(line) + std::string(line % 97, '.') + (line % 3 ? ", \"q\"\r\n" : "\n");
    }
    text.resize(size);
    return text;
}

void InsertLogRows(const TestDataSource& source, const std::string& table, const std::vector<LogRow>& rows) {
    std::string values;
    for (const LogRow& r : rows) {
        const auto text = [&](const auto& value) { return SqlLiteral(source, value); };
        values += (values.empty() ? "(" : ", (") + std::to_string(r.id) + ", " + text(r.receivedAt) + ", " +
                  text(r.deviceReportedTime) + ", " + std::to_string(r.facility) + ", " +
                  std::to_string(r.priority) + ", " + text(r.fromHost) + ", " + text(r.sysLogTag) + ", " +
                  text(r.message) + ")";
    }
    if (!values.empty()) RunSql(source, "INSERT INTO " + table + " VALUES " + values);
}

}  // namespace sorvane::test
