// The built program run as a scheduler runs it: a child process in a folder of
// its own, judged only by its exit status, debug.log, backup file and database.

#include <gtest/gtest.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/odbc_test_env.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace sorvane::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// A fixed UTF-8 locale with ISO dates and no display (offscreen Qt counts as one).
ProgramRun RunSorvane(const fs::path& currentDir, const Texts& arguments) {
    EnsureTestOdbcEnvironment();
    ProgramOptions options{currentDir, {{"LC_ALL", "C.UTF-8"}, {"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}},
                                        {"QT_QPA_PLATFORM", {}}}};
    ProgramRun run = RunProgram(SORVANE_BINARY, arguments, options);
    EXPECT_TRUE(run.exited) << "signal " << run.signal;
    return run;
}

std::string LocalDate(int daysFromToday) {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    ::localtime_r(&now, &day);
    day.tm_mday += daysFromToday;
    day.tm_hour = 12;  // away from daylight-saving changes
    day.tm_isdst = -1;
    std::mktime(&day);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &day);
    return text;
}

// With -ndays=30 rows up to and including the cut-off day's midnight are old.
const std::string kCutOffDate = LocalDate(-29);

Texts CrLfLines(const std::string& text) {
    Texts lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
        lines.push_back(text.substr(at, end - at));
    }
    return lines;
}

// Log rows and, for the old ones, their backup line under the default separator and escape text.
// Ids out of time order: young rows sit among the old ids and at both ends.
std::vector<std::pair<LogRow, std::optional<std::string>>> Fixture() {
    const std::string oldDay = LocalDate(-40), young = LocalDate(-1) + " 08:15:00";
    auto row = [](int id, const std::string& time, std::optional<std::string> message, std::optional<std::string> csv) {
        if (csv) *csv = std::to_string(id) + "," + time + "," + time + ",3,4,host1,sshd:," + *csv;
        return std::pair{LogRow{id, time, time, 3, 4, "host1", "sshd:", std::move(message)}, csv};
    };
    return {row(4, young, "inside the last batch", {}),
            row(5, oldDay + " 10:00:00", "plain text", "plain text"),
            row(6, oldDay + " 10:00:01", "say \"hi\"", "\"say \"\"hi\"\"\""),
            row(7, young, "late arrival, young", {}),
            row(8, oldDay + " 10:00:02", "a, b", "\"a, b\""),
            row(9, LocalDate(-30) + " 23:59:59", "Grüße aus Köln; 日本", "Grüße aus Köln; 日本"),
            row(11, kCutOffDate + " 00:00:01", "one second too young", {}),
            row(12, oldDay + " 11:00:00", std::nullopt, ""),
            row(15, oldDay + " 12:00:00", "top of the range", "top of the range"),
            row(16, young, "young above the range", {})};
}

void Seed(const TestDataSource& source, const std::string& table, bool youngOnly = false) {
    CreateLogTable(source, table);
    std::vector<LogRow> rows;
    for (const auto& [row, backupLine] : Fixture()) {
        if (!youngOnly || !backupLine) rows.push_back(row);
    }
    InsertLogRows(source, table, rows);
}

Texts Ids(const TestDataSource& source, const std::string& table) {
    Texts ids;
    for (const Row& row : FetchRows(source, "SELECT id FROM " + table + " ORDER BY id")) ids.push_back(*row.at(0));
    return ids;
}

std::vector<fs::path> CsvFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".csv") files.push_back(entry.path());
    }
    return files;
}

class BinaryFullRun : public ::testing::TestWithParam<std::string> {};

TEST_P(BinaryFullRun, BacksUpAndDeletesExactlyTheOldRows) {
    const auto source = OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = UniqueTableName("e2e_full");
    Seed(*source, table);
    // Relative paths: a temporary folder's random name may hold "-h".
    TempDir work;
    fs::create_directory(work.Path() / "backup");
    Texts arguments{"-dsn=" + source->dsn, "-table=" + table, "-ndays=30", "-delrecpertrip=3", "-backup=1",
                    "-delete=1", "-filepath=backup", "-includedate=1", "-debug"};
    if (!source->userName.empty()) arguments.push_back("-user=" + source->userName);
    if (!source->password.empty()) arguments.push_back("-pass=" + source->password);

    const ProgramRun run = RunSorvane(work.Path(), arguments);
    const std::string debugLog = ReadWholeFile(work.Path() / "debug.log");
    EXPECT_EQ(run.exitStatus, 0) << run.output << debugLog;
    EXPECT_EQ(run.output, "") << "a command-line run writes nothing to a console";
    EXPECT_EQ(Ids(*source, table), (Texts{"4", "7", "11", "16"}));

    // Old ids 5..15 in batches of 3 from the top: (15,12], (12,9], (9,6], (6,3].
    const Texts debugLines = CrLfLines(debugLog);
    ASSERT_TRUE(debugLog.ends_with("\r\n"));
    std::size_t from = 0;
    for (const std::string& step : Texts{"ConSorvane was started successfully", "Thread set to: THREAD_PRIORITY_LOWEST",
                                    "Class set to: IDLE_PRIORITY_CLASS", "Prepared timestamp: {ts '" + kCutOffDate + " 00:00:00'}",
                                    "MinID = 5; MaxID = 15", "Start deleting", "About  12 records deleteted in 00:00:"}) {
        from = debugLog.find(step, from);
        ASSERT_NE(from, std::string::npos) << "missing or out of order: " << step << "\n" << debugLog;
    }
    for (const auto& line : debugLines) {
        EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: .*)"))) << line;
    }

    const auto backups = CsvFilesIn(work.Path() / "backup");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_TRUE(std::regex_match(backups[0].filename().string(), std::regex(R"(\d{4}-\d{2}-\d{2}-BackupFile\.csv)")))
        << backups[0];
    const std::string backup = ReadWholeFile(backups[0]);
    EXPECT_TRUE(backup.ends_with("\r\n"));
    std::multiset<std::string> expected;
    for (const auto& [row, backupLine] : Fixture()) {
        if (backupLine) expected.insert(*backupLine);
    }
    const Texts written = CrLfLines(backup);
    EXPECT_EQ(std::multiset<std::string>(written.begin(), written.end()), expected) << backup;
    DropTable(*source, table);
}

INSTANTIATE_TEST_SUITE_P(Dbms, BinaryFullRun, ::testing::ValuesIn(TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

// Runs that end without a purge or with a failure: the exit status tells the
// scheduler, debug.log says why, and no row is lost.
enum class Blocker { None, FolderAsDebugLog, FullDevice, ReadOnlyFolder };

struct EndingCase {
    const char* name;
    Texts arguments;  // "{dsn}" is filled in
    int exitStatus;
    const char* debugLine;  // nothing when debug.log cannot be written
    bool youngRowsOnly = false;
    Blocker blocker = Blocker::None;
};

constexpr const char* kRuntimeError = "Runtime error during program execution  - run time error ";

class BinaryEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(BinaryEnding, ReportsThroughExitStatusAndKeepsTheRows) {
    const EndingCase& ending = GetParam();
    if (ending.blocker == Blocker::ReadOnlyFolder && ::geteuid() == 0) GTEST_SKIP() << "root writes anyway";
    const auto source = OpenTestDataSource("SQLite");
    ASSERT_TRUE(source);
    Seed(*source, "SystemEvents", ending.youngRowsOnly);
    RunSql(*source, "CREATE TABLE OnlyIds (id INTEGER PRIMARY KEY)");
    RunSql(*source, "INSERT INTO OnlyIds VALUES (1)");
    const auto before = Ids(*source, "SystemEvents");

    TempDir work;
    if (ending.blocker == Blocker::FolderAsDebugLog) fs::create_directory(work.Path() / "debug.log");
    if (ending.blocker == Blocker::FullDevice) fs::create_symlink("/dev/full", work.Path() / "debug.log");
    if (ending.blocker == Blocker::ReadOnlyFolder) fs::permissions(work.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    Texts arguments = ending.arguments;
    for (auto& argument : arguments) {
        if (const auto at = argument.find("{dsn}"); at != std::string::npos) argument.replace(at, 5, source->dsn);
    }
    const ProgramRun run = RunSorvane(work.Path(), arguments);
    const std::string debugLog = ending.debugLine ? ReadWholeFile(work.Path() / "debug.log") : "";

    EXPECT_EQ(run.exitStatus, ending.exitStatus) << run.output << debugLog;
    if (ending.debugLine) { EXPECT_NE(debugLog.find(ending.debugLine), std::string::npos) << debugLog; }
    EXPECT_EQ(Ids(*source, "SystemEvents"), before);
    EXPECT_EQ(Ids(*source, "OnlyIds"), Texts{"1"});
    EXPECT_TRUE(CsvFilesIn(work.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BinaryEnding,
    ::testing::Values(
        EndingCase{"NoOldRows", {"-dsn={dsn}", "-ndays=30", "-backup=1", "-delete=1", "-debug"}, 0, "No Data available", true},
        EndingCase{"DsnMissing", {"-debug", "-ndays=5", "-delete=1"}, 2, "The following parameters are missing: -dsn"},
        EndingCase{"UnknownDataSource", {"-debug", "-dsn=NoSuchSorvaneSource", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"MissingTable", {"-debug", "-dsn={dsn}", "-table=NoSuchTable", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"MissingTimeColumn", {"-debug", "-dsn={dsn}", "-table=OnlyIds", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"SqlInTableName", {"-debug", "-dsn={dsn}", "-table=SystemEvents; DROP TABLE SystemEvents", "-delete=1"},
                   1, kRuntimeError},
        EndingCase{"NotABoolean", {"-debug", "-dsn={dsn}", "-delete=yes"}, 1, kRuntimeError},
        EndingCase{"ZeroBatchWidth", {"-debug", "-dsn={dsn}", "-delrecpertrip=0", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"UnwritableBackupFolder", {"-debug", "-dsn={dsn}", "-backup=1", "-delete=1", "-filepath=no/such/folder"},
                   1, kRuntimeError},
        // A folder in the way fails the opening (for root too), a full device the writing.
        EndingCase{"FolderAsDebugLog", {"-debug", "-dsn={dsn}", "-delete=1"}, 1, nullptr, false, Blocker::FolderAsDebugLog},
        EndingCase{"DebugLogOnFullDevice", {"-debug", "-dsn={dsn}", "-delete=1"}, 1, nullptr, false, Blocker::FullDevice},
        EndingCase{"ReadOnlyFolder", {"-debug", "-dsn={dsn}", "-delete=1"}, 1, nullptr, false, Blocker::ReadOnlyFolder}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a display -h and -help write the manual page to standard output: the
// copy in the current folder when there is one, else the one beside the program.
TEST(BinaryManualPage, WritesTheManualPageToStandardOutput) {
    const std::string shipped = ReadWholeFile(fs::path(SORVANE_SOURCE_DIR) / "data" / "sorvane-manpage.txt");
    const std::string local = "LOCAL PAGE\r\n\r\nline three\r\n";
    auto asOutput = [](std::string page) {
        for (std::size_t at; (at = page.find("\r\n")) != std::string::npos;) page.replace(at, 2, "\n");
        return page + "\n";
    };
    ASSERT_FALSE(shipped.empty());
    for (const Texts& arguments : {Texts{"-h"}, Texts{"-help"}, Texts{"-h", "-help"}}) {
        TempDir work;
        const bool localCopy = arguments.back() == "-help";
        if (localCopy) std::ofstream(work.Path() / "sorvane-manpage.txt", std::ios::binary) << local;
        const ProgramRun run = RunSorvane(work.Path(), arguments);
        EXPECT_EQ(run.exitStatus, 2) << "no -dsn, so no purge ran";
        const std::string page = asOutput(localCopy ? local : shipped);
        EXPECT_EQ(run.output, arguments.size() == 2 ? page + page : page) << arguments[0];
    }
}

}  // namespace
}  // namespace sorvane::test
