// The built program run as a scheduler runs it: a child process in a folder
// of its own, a private data source, and only its exit status, debug.log, the
// backup file and the database to judge it by.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/odbc_test_env.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace sorvane::test {
namespace {

namespace fs = std::filesystem;

constexpr int kDays = 30;

// The child runs in a fixed UTF-8 locale with ISO dates (its short date has a
// two-digit year) and without a display, whatever the test runner has (the
// offscreen Qt platform counts as a display).
ProgramRun RunSorvane(const fs::path& currentDir, const std::vector<std::string>& arguments) {
    EnsureTestOdbcEnvironment();
    ProgramOptions options;
    options.currentDir = currentDir;
    options.environment = {{"LC_ALL", "C.UTF-8"},
                           {"DISPLAY", std::nullopt},
                           {"WAYLAND_DISPLAY", std::nullopt},
                           {"QT_QPA_PLATFORM", std::nullopt}};
    return RunProgram(SORVANE_BINARY, arguments, options);
}

std::string LocalDate(int daysFromToday) {
    std::time_t now = std::time(nullptr);
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

// The day before the cut-off day and the cut-off day itself for an age of
// kDays: rows up to and including the cut-off's midnight are old.
const std::string kCutOffDate = LocalDate(1 - kDays);
const std::string kDayBeforeCutOff = LocalDate(-kDays);

// The lines of a text split at each line end; the text after the last line
// end counts as a line too unless it is empty and dropEmptyLast is set.
std::vector<std::string> Lines(const std::string& text, const std::string& end, bool dropEmptyLast = true) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size()) {
        lines.push_back(text.substr(start, at - start));
    }
    if (start < text.size() || !dropEmptyLast) lines.push_back(text.substr(start));
    return lines;
}

// A log row and, for old rows, how its line must read in the backup file
// under the default separator and escape text.
struct FixtureRow {
    LogRow row;
    bool old;
    std::string backupLine;
};

std::vector<FixtureRow> Fixture() {
    const std::string oldDay = LocalDate(-40);
    const std::string young = LocalDate(-1) + " 08:15:00";
    auto make = [](int id, const std::string& time, std::optional<std::string> message, bool old,
                   std::string csvMessage) {
        LogRow row{id, time, time, 3, 4, "host1", "sshd:", std::move(message)};
        std::string line = std::to_string(id) + "," + time + "," + time + ",3,4,host1,sshd:," + csvMessage;
        return FixtureRow{row, old, old ? line : std::string()};
    };
    // Ids out of time order: young rows sit among the old ids, and the last
    // batch reaches below the lowest old id, where a young row waits.
    return {
        make(4, young, "inside the last batch", false, ""),
        make(5, oldDay + " 10:00:00", "plain text", true, "plain text"),
        make(6, oldDay + " 10:00:01", "say \"hi\"", true, "\"say \"\"hi\"\"\""),
        make(7, young, "late arrival, young", false, ""),
        make(8, oldDay + " 10:00:02", "a, b", true, "\"a, b\""),
        make(9, kDayBeforeCutOff + " 23:59:59", "Grüße aus Köln; 日本", true, "Grüße aus Köln; 日本"),
        make(11, kCutOffDate + " 00:00:01", "one second too young", false, ""),
        make(12, oldDay + " 11:00:00", std::nullopt, true, ""),
        make(15, oldDay + " 12:00:00", "top of the range", true, "top of the range"),
        make(16, young, "young above the range", false, ""),
    };
}

std::vector<std::string> RemainingIds(const TestDataSource& source, const std::string& table) {
    std::vector<std::string> ids;
    for (const Row& row : FetchRows(source, "SELECT id FROM " + table + " ORDER BY id")) {
        ids.push_back(row.at(0).value_or("NULL"));
    }
    return ids;
}

std::vector<std::string> IdsOf(const std::vector<FixtureRow>& rows, bool old) {
    std::vector<std::string> ids;
    for (const auto& fixture : rows) {
        if (fixture.old == old) ids.push_back(std::to_string(fixture.row.id));
    }
    return ids;
}

std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == extension) files.push_back(entry.path());
    }
    return files;
}

// Fails unless each needle occurs in the text, in the order given.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& needles) {
    std::size_t from = 0;
    for (const auto& needle : needles) {
        const std::size_t at = text.find(needle, from);
        ASSERT_NE(at, std::string::npos) << "missing (or out of order): " << needle << "\nin:\n" << text;
        from = at + needle.size();
    }
}

class BinaryFullRun : public ::testing::TestWithParam<std::string> {};

TEST_P(BinaryFullRun, BacksUpAndDeletesExactlyTheOldRows) {
    const auto source = OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = UniqueTableName("e2e_full");
    const auto fixture = Fixture();
    CreateLogTable(*source, table);
    std::vector<LogRow> rows;
    for (const auto& entry : fixture) rows.push_back(entry.row);
    InsertLogRows(*source, table, rows);

    // Paths are given relative to the run's folder: a temporary folder's
    // random name may hold "-h", which asks for the manual page too.
    TempDir work;
    const fs::path backupDir = work.Path() / "backup";
    fs::create_directory(backupDir);
    std::vector<std::string> arguments{"-dsn=" + source->dsn, "-table=" + table,
                                       "-ndays=" + std::to_string(kDays), "-delrecpertrip=3",
                                       "-backup=1", "-delete=1", "-filepath=backup",
                                       "-includedate=1", "-debug"};
    if (!source->userName.empty()) arguments.push_back("-user=" + source->userName);
    if (!source->password.empty()) arguments.push_back("-pass=" + source->password);

    const ProgramRun run = RunSorvane(work.Path(), arguments);
    const std::string debugLog = ReadWholeFile(work.Path() / "debug.log");
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    EXPECT_EQ(run.exitStatus, 0) << run.output << debugLog;
    EXPECT_EQ(run.output, "") << "a command-line run writes nothing to a console";

    EXPECT_EQ(RemainingIds(*source, table), IdsOf(fixture, false));

    // Old ids 5..15 in batches of 3 from the top: (15,12], (12,9], (9,6], (6,3].
    ExpectInOrder(debugLog, {"ConSorvane was started successfully",
                             "Thread set to: THREAD_PRIORITY_LOWEST",
                             "Class set to: IDLE_PRIORITY_CLASS",
                             "Prepared timestamp: {ts '" + kCutOffDate + " 00:00:00'}",
                             "MinID = 5; MaxID = 15", "Start deleting",
                             "About  12 records deleteted in 00:00:"});
    const std::regex lineForm(R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: .*)");
    ASSERT_EQ(debugLog.substr(debugLog.size() - 2), "\r\n");
    for (const auto& line : Lines(debugLog, "\r\n")) {
        EXPECT_TRUE(std::regex_match(line, lineForm)) << line;
    }

    const auto backups = FilesIn(backupDir, ".csv");
    ASSERT_EQ(backups.size(), 1u);
    const std::string name = backups[0].filename().string();
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(\d{4}-\d{2}-\d{2}-BackupFile\.csv)"))) << name;
    const std::string backup = ReadWholeFile(backups[0]);
    ASSERT_FALSE(backup.empty());
    EXPECT_EQ(backup.substr(backup.size() - 2), "\r\n");
    std::multiset<std::string> written;
    for (const auto& line : Lines(backup, "\r\n")) written.insert(line);
    std::multiset<std::string> expected;
    for (const auto& entry : fixture) {
        if (entry.old) expected.insert(entry.backupLine);
    }
    EXPECT_EQ(written, expected) << backup;

    DropTable(*source, table);
}

INSTANTIATE_TEST_SUITE_P(Dbms, BinaryFullRun, ::testing::ValuesIn(TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

// Runs that end without a purge, or with a failure: the exit status tells a
// scheduler, debug.log says why, and no row is lost.
struct EndingCase {
    const char* name;
    std::vector<std::string> arguments;  // "{dsn}" and "{table}" are filled in
    int exitStatus;
    const char* debugLine;
    bool youngRowsOnly = false;  // seed only rows newer than the cut-off
};

std::string Fill(std::string text, const std::string& dsn, const std::string& table) {
    const std::pair<std::string, std::string> fields[] = {{"{dsn}", dsn}, {"{table}", table}};
    for (const auto& [key, value] : fields) {
        for (std::size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
    }
    return text;
}

constexpr const char* kRuntimeError = "Runtime error during program execution  - run time error ";

class BinaryEnding : public ::testing::TestWithParam<EndingCase> {};

TEST_P(BinaryEnding, ReportsThroughExitStatusAndKeepsTheRows) {
    const EndingCase& ending = GetParam();
    const auto source = OpenTestDataSource("SQLite");
    ASSERT_TRUE(source);
    const std::string table = "SystemEvents";
    const auto fixture = Fixture();
    CreateLogTable(*source, table);
    std::vector<LogRow> rows;
    for (const auto& entry : fixture) {
        if (!ending.youngRowsOnly || !entry.old) rows.push_back(entry.row);
    }
    InsertLogRows(*source, table, rows);
    RunSql(*source, "CREATE TABLE OnlyIds (id INTEGER PRIMARY KEY)");
    RunSql(*source, "INSERT INTO OnlyIds VALUES (1)");
    const auto before = RemainingIds(*source, table);

    TempDir work;
    std::vector<std::string> arguments;
    for (const auto& argument : ending.arguments) {
        arguments.push_back(Fill(argument, source->dsn, table));
    }
    const ProgramRun run = RunSorvane(work.Path(), arguments);
    const std::string debugLog = ReadWholeFile(work.Path() / "debug.log");

    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    EXPECT_EQ(run.exitStatus, ending.exitStatus) << run.output << debugLog;
    EXPECT_NE(debugLog.find(ending.debugLine), std::string::npos) << debugLog;
    EXPECT_EQ(RemainingIds(*source, table), before);
    EXPECT_EQ(RemainingIds(*source, "OnlyIds"), std::vector<std::string>{"1"});
    EXPECT_TRUE(FilesIn(work.Path(), ".csv").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BinaryEnding,
    ::testing::Values(
        EndingCase{"NoOldRows", {"-dsn={dsn}", "-ndays=30", "-backup=1", "-delete=1", "-debug"}, 0,
                   "No Data available", true},
        EndingCase{"DsnMissing", {"-debug", "-ndays=5", "-delete=1"}, 2,
                   "The following parameters are missing: -dsn"},
        EndingCase{"UnknownDataSource", {"-debug", "-dsn=NoSuchSorvaneSource", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"MissingTable", {"-debug", "-dsn={dsn}", "-table=NoSuchTable", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"MissingTimeColumn", {"-debug", "-dsn={dsn}", "-table=OnlyIds", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"SqlInTableName",
                   {"-debug", "-dsn={dsn}", "-table={table}; DROP TABLE {table}", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"NotABoolean", {"-debug", "-dsn={dsn}", "-delete=yes"}, 1, kRuntimeError},
        EndingCase{"ZeroBatchWidth", {"-debug", "-dsn={dsn}", "-delrecpertrip=0", "-delete=1"}, 1, kRuntimeError},
        EndingCase{"UnwritableBackupFolder",
                   {"-debug", "-dsn={dsn}", "-backup=1", "-delete=1", "-filepath=no/such/folder"}, 1,
                   kRuntimeError}),
    [](const auto& info) { return std::string(info.param.name); });

// debug.log that cannot be written: the failure is reported through the exit
// status (the report to debug.log itself is lost), and nothing is purged.
TEST(BinaryDebugLog, UnwritableDebugLogEndsWithFailureStatus) {
    const auto source = OpenTestDataSource("SQLite");
    ASSERT_TRUE(source);
    const auto fixture = Fixture();
    CreateLogTable(*source, "SystemEvents");
    std::vector<LogRow> rows;
    for (const auto& entry : fixture) rows.push_back(entry.row);
    InsertLogRows(*source, "SystemEvents", rows);
    const auto before = RemainingIds(*source, "SystemEvents");

    // A folder in the way fails the opening (also for root, which ignores
    // read-only folders); a full device fails the writing.
    enum class Blocker { FolderInTheWay, FullDevice, ReadOnlyFolder };
    std::vector<Blocker> blockers{Blocker::FolderInTheWay, Blocker::FullDevice};
    if (::geteuid() != 0) blockers.push_back(Blocker::ReadOnlyFolder);
    for (const Blocker blocker : blockers) {
        SCOPED_TRACE(static_cast<int>(blocker));
        TempDir work;
        switch (blocker) {
            case Blocker::FolderInTheWay:
                fs::create_directory(work.Path() / "debug.log");
                break;
            case Blocker::FullDevice:
                fs::create_symlink("/dev/full", work.Path() / "debug.log");
                break;
            case Blocker::ReadOnlyFolder:
                fs::permissions(work.Path(), fs::perms::owner_read | fs::perms::owner_exec);
                break;
        }
        const ProgramRun run =
            RunSorvane(work.Path(), {"-debug", "-dsn=" + source->dsn, "-ndays=30", "-delete=1"});
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        EXPECT_EQ(run.exitStatus, 1) << run.output;
        EXPECT_EQ(RemainingIds(*source, "SystemEvents"), before);
    }
}

// -h and -help without a display write the manual page to standard output:
// the copy in the current folder when there is one, else the one installed
// beside the program.
TEST(BinaryManualPage, WritesTheManualPageToStandardOutput) {
    const std::string shipped = ReadWholeFile(fs::path(SORVANE_SOURCE_DIR) / "data" / "sorvane-manpage.txt");
    ASSERT_FALSE(shipped.empty());
    const std::string local = "LOCAL PAGE\r\n\r\nline three\r\n";

    struct Case {
        const char* label;
        std::vector<std::string> arguments;
        bool localCopy;
        int copies;
    };
    const std::vector<Case> cases{{"-h, beside the program", {"-h"}, false, 1},
                                  {"-help, current folder", {"-help"}, true, 1},
                                  {"-h -help, twice", {"-h", "-help"}, true, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir work;
        if (c.localCopy) std::ofstream(work.Path() / "sorvane-manpage.txt", std::ios::binary) << local;
        const ProgramRun run = RunSorvane(work.Path(), c.arguments);
        ASSERT_TRUE(run.exited) << "signal " << run.signal;
        EXPECT_EQ(run.exitStatus, 2) << "no -dsn, so no purge ran";

        std::string page;
        for (const auto& line : Lines(c.localCopy ? local : shipped, "\r\n", false)) page += line + "\n";
        std::string expected;
        for (int i = 0; i < c.copies; ++i) expected += page;
        EXPECT_EQ(run.output, expected);
    }
}

}  // namespace
}  // namespace sorvane::test
