#include "support/odbc_test_env.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "purge/connection_text.h"
#include "purge/odbc_statement.h"
#include "purge/run_failure.h"

namespace sorvane::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSqliteDriverName = "SorvaneTestSQLite3";

struct ListedSource {
    std::string dsn;
    std::string userName;
    std::string password;
};

// The folder with this process's ini files and SQLite databases; removed
// when the process ends normally.
class PrivateOdbcFolder {
public:
    PrivateOdbcFolder() {
        std::string pattern = (fs::temp_directory_path() / "sorvane-odbc-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~PrivateOdbcFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

PrivateOdbcFolder* folder = nullptr;
int sqliteSourcesMade = 0;

std::string SqliteDriverLibrary() {
    const fs::path usual = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
    if (fs::exists(usual)) return usual.string();
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator("/usr/lib", ignored)) {
        const fs::path candidate = entry.path() / "odbc" / "libsqlite3odbc.so";
        if (fs::exists(candidate, ignored)) return candidate.string();
    }
    return usual.string();
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::vector<ListedSource> ListedSources() {
    std::vector<ListedSource> sources;
    const char* listed = std::getenv("SORVANE_TEST_DSNS");
    if (listed == nullptr) return sources;
    for (const std::string& entry : Split(listed, ',')) {
        if (entry.empty()) continue;
        std::vector<std::string> fields = Split(entry, '|');
        fields.resize(3);
        sources.push_back({fields[0], fields[1], fields[2]});
    }
    return sources;
}

bool ServersRequired() {
    const char* required = std::getenv("SORVANE_REQUIRE_SERVERS");
    return required != nullptr && std::string(required) == "1";
}

void CopyIfPresent(const fs::path& from, const fs::path& to) {
    std::error_code ignored;
    if (!from.empty() && fs::exists(from, ignored)) {
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
}

void AppendText(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::app);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::once_flag setUp;

}  // namespace

std::string TestDataSource::ConnectionText() const {
    return BuildConnectionText(dsn, userName, password);
}

void EnsureTestOdbcEnvironment() {
    std::call_once(setUp, [] {
        static PrivateOdbcFolder privateFolder;
        folder = &privateFolder;
        const fs::path driversFile = folder->Path() / "odbcinst.ini";
        const fs::path sourcesFile = folder->Path() / "odbc.ini";
        if (std::getenv("SORVANE_TEST_DSNS") != nullptr) {
            // Keep the script's drivers and server data sources, in a copy
            // that this process may extend with its own SQLite sources.
            const std::string system = Env("ODBCSYSINI");
            const std::string user = Env("ODBCINI");
            if (!system.empty()) CopyIfPresent(fs::path(system) / "odbcinst.ini", driversFile);
            CopyIfPresent(!user.empty() ? fs::path(user) : fs::path(system) / "odbc.ini", sourcesFile);
        }
        AppendText(driversFile, std::string("\n[") + kSqliteDriverName + "]\nDriver=" +
                                    SqliteDriverLibrary() + "\n");
        AppendText(sourcesFile, "");
        ::setenv("ODBCSYSINI", folder->Path().c_str(), 1);
        ::setenv("ODBCINI", sourcesFile.c_str(), 1);
    });
}

TestDataSource MakeSqliteDataSource() {
    EnsureTestOdbcEnvironment();
    const int number = ++sqliteSourcesMade;
    TestDataSource source;
    source.dsn = "SorvaneTestSQLite" + std::to_string(number);
    source.dbms = "SQLite";
    const fs::path database = folder->Path() / ("sqlite" + std::to_string(number) + ".db");
    AppendText(folder->Path() / "odbc.ini", "\n[" + source.dsn + "]\nDriver=" + kSqliteDriverName +
                                                "\nDatabase=" + database.string() +
                                                "\nTimeout=5000\n");
    return source;
}

std::vector<std::string> TestDataSourceNames() {
    std::vector<std::string> names{"SQLite"};
    for (const auto& listed : ListedSources()) names.push_back(listed.dsn);
    return names;
}

std::optional<TestDataSource> OpenTestDataSource(const std::string& name) {
    if (name == "SQLite") return MakeSqliteDataSource();
    EnsureTestOdbcEnvironment();
    for (const auto& listed : ListedSources()) {
        if (listed.dsn != name) continue;
        TestDataSource source{listed.dsn, listed.userName, listed.password, ""};
        try {
            odbc::Connection connection(source.ConnectionText());
            source.dbms = connection.DbmsName();
            return source;
        } catch (const RunFailure& failure) {
            if (ServersRequired()) {
                throw std::runtime_error("data source " + name + " cannot connect: " +
                                         failure.Description());
            }
            return std::nullopt;
        }
    }
    throw std::runtime_error("data source " + name + " is not listed in SORVANE_TEST_DSNS");
}

std::string UniqueTableName(const std::string& stem) {
    return stem + "_" + std::to_string(::getpid());
}

void RunSql(const TestDataSource& source, const std::string& sql) {
    EnsureTestOdbcEnvironment();
    odbc::Connection connection(source.ConnectionText());
    odbc::Statement statement(connection);
    statement.ExecuteDirect(sql);
}

std::vector<Row> FetchRows(const TestDataSource& source, const std::string& sql) {
    EnsureTestOdbcEnvironment();
    odbc::Connection connection(source.ConnectionText());
    odbc::Statement statement(connection);
    statement.ExecuteDirect(sql);
    const int columns = statement.ColumnCount();
    std::vector<Row> rows;
    while (statement.Fetch()) {
        Row row;
        for (int column = 0; column < columns; ++column) row.push_back(statement.Text(column));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string SqlLiteral(const TestDataSource& source, const std::string& text) {
    const bool backslashEscapes = source.dbms == "MariaDB" || source.dbms == "MySQL";
    std::string literal = "'";
    for (const char c : text) {
        if (c == '\'') literal += '\'';
        if (c == '\\' && backslashEscapes) literal += '\\';
        literal += c;
    }
    return literal + "'";
}

void DropTable(const TestDataSource& source, const std::string& table) {
    RunSql(source, "DROP TABLE IF EXISTS " + table);
}

void CreateLogTable(const TestDataSource& source, const std::string& table) {
    DropTable(source, table);
    std::string timeType = "TIMESTAMP";
    std::string suffix;
    if (source.dbms == "MariaDB" || source.dbms == "MySQL") {
        timeType = "DATETIME NULL";
        suffix = " CHARACTER SET utf8mb4";
    }
    // SQLite keeps the times as the "YYYY-MM-DD HH:MM:SS" text they are
    // inserted as, which is what its driver compares the cut-off with.
    RunSql(source, "CREATE TABLE " + table + " (id INTEGER NOT NULL PRIMARY KEY, ReceivedAt " +
                       timeType + ", DeviceReportedTime " + timeType +
                       ", Facility SMALLINT, Priority SMALLINT, FromHost VARCHAR(60), "
                       "SysLogTag VARCHAR(60), Message TEXT)" + suffix);
}

void InsertLogRows(const TestDataSource& source, const std::string& table,
                   const std::vector<LogRow>& rows) {
    constexpr std::size_t kRowsPerStatement = 200;
    for (std::size_t first = 0; first < rows.size(); first += kRowsPerStatement) {
        std::string sql = "INSERT INTO " + table +
                          " (id, ReceivedAt, DeviceReportedTime, Facility, Priority, FromHost, "
                          "SysLogTag, Message) VALUES ";
        const std::size_t last = std::min(rows.size(), first + kRowsPerStatement);
        for (std::size_t i = first; i < last; ++i) {
            const LogRow& row = rows[i];
            if (i != first) sql += ", ";
            sql += "(" + std::to_string(row.id) + ", " + SqlLiteral(source, row.receivedAt) + ", " +
                   SqlLiteral(source, row.deviceReportedTime) + ", " + std::to_string(row.facility) +
                   ", " + std::to_string(row.priority) + ", " + SqlLiteral(source, row.fromHost) +
                   ", " + SqlLiteral(source, row.sysLogTag) + ", " +
                   (row.message ? SqlLiteral(source, *row.message) : std::string("NULL")) + ")";
        }
        RunSql(source, sql);
    }
}

}  // namespace sorvane::test
