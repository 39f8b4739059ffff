// The built program's dry run, progress line and summary: the dry run says
// what the run then does and changes nothing, also for a user who may only
// read; the figures show on a terminal and not in a pipe, in real rows.

#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "support/odbc_test_env.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace sorvane::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

ProgramRun RunSorvane(const fs::path& currentDir, const Texts& arguments, bool onTerminal = false) {
    EnsureTestOdbcEnvironment();
    ProgramOptions options{currentDir, {{"LC_ALL", "C.UTF-8"}, {"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}},
                                        {"QT_QPA_PLATFORM", {}}}};
    Texts all = arguments;
    std::string program = SORVANE_BINARY;
    if (onTerminal) {
        all.insert(all.begin(), program);
        program = SORVANE_SOURCE_DIR "/tests/support/run_in_pty.py";
    }
    ProgramRun run = RunProgram(program, all, options);
    EXPECT_TRUE(run.exited) << "signal " << run.signal;
    return run;
}

std::string LocalDate(int daysFromToday) {
    const std::time_t now = std::time(nullptr);
    std::tm day{};
    ::localtime_r(&now, &day);
    day.tm_mday += daysFromToday;
    day.tm_hour = 12;
    day.tm_isdst = -1;
    std::mktime(&day);
    char text[16];
    return std::string(text, std::strftime(text, sizeof text, "%Y-%m-%d", &day));
}

// Width 3 over old ids 5..60: 19 batches; from 60 the run finds (54, 57]
// empty, passes over 4 batches to (39, 42], then 8 more to (12, 15]. Young
// rows 7, 11 and 20 lie inside the old range, 4 and 61 outside.
void SeedTable(const TestDataSource& source, const std::string& table) {
    CreateLogTable(source, table);
    const std::string old = LocalDate(-40) + " 10:00:00", young = LocalDate(-1) + " 10:00:00";
    std::vector<LogRow> rows;
    for (int id : {5, 6, 8, 9, 10, 12, 13, 14, 15, 40, 41, 60}) rows.push_back(LogRowsAt(id, id, old).front());
    for (int id : {4, 7, 11, 20, 61}) rows.push_back(LogRowsAt(id, id, young).front());
    InsertLogRows(source, table, rows);
}

Texts Arguments(const TestDataSource& source, const std::string& table) {
    Texts arguments{"-dsn=" + source.dsn, "-table=" + table, "-ndays=30", "-delrecpertrip=3", "-backup=1",
                    "-delete=1", "-filepath=backup", "-debug"};
    if (!source.userName.empty()) arguments.push_back("-user=" + source.userName);
    if (!source.password.empty()) arguments.push_back("-pass=" + source.password);
    return arguments;
}

std::string Found(const std::string& text, const std::string& pattern) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex(pattern))) return "(no " + pattern + ")";
    return match[1];
}

std::map<std::string, std::string> FolderBytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) files[entry.path().filename()] = ReadWholeFile(entry);
    return files;
}

std::string TableText(const TestDataSource& source, const std::string& table) {
    std::string text;
    for (const Row& row : FetchRows(source, "SELECT * FROM " + table + " ORDER BY id")) {
        for (const auto& field : row) text += (field ? *field : "NULL") + "|";
        text += "\n";
    }
    return text;
}

class BinaryDryRun : public ::testing::TestWithParam<std::string> {};

TEST_P(BinaryDryRun, ReportsWhatTheRunThenDoesAndChangesNothing) {
    const auto source = OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = UniqueTableName("e2e_dry");
    SeedTable(*source, table);
    TempDir work;
    fs::create_directory(work.Path() / "backup");
    std::ofstream(work.Path() / "backup" / "BackupFile.csv", std::ios::binary) << "an earlier row\r\n";
    const std::string tableBefore = TableText(*source, table);
    const auto folderBefore = FolderBytes(work.Path() / "backup");

    Texts dryArguments = Arguments(*source, table);
    dryArguments.push_back("--dry-run");
    const ProgramRun dry = RunSorvane(work.Path(), dryArguments);
    ASSERT_EQ(dry.exitStatus, 0) << dry.output;
    EXPECT_EQ(TableText(*source, table), tableBefore);
    EXPECT_EQ(FolderBytes(work.Path() / "backup"), folderBefore);
    const std::string& report = dry.output;
    EXPECT_EQ(Found(report, "Data source: (.*)\n"), source->dsn);
    EXPECT_EQ(Found(report, "Old rows: (.*)\n"), "12 (and 3 younger rows inside that id range, kept)");
    EXPECT_EQ(Found(report, "Batches: (.*)\n"), "19 of 3 ids, of which 12 empty, passed over in 2 stretches");
    EXPECT_EQ(Found(report, "Backup file: (.*)\n"), "there, would be appended to");

    const ProgramRun run = RunSorvane(work.Path(), Arguments(*source, table));
    const std::string debugLog = ReadWholeFile(work.Path() / "debug.log");
    ASSERT_EQ(run.exitStatus, 0) << run.output << debugLog;
    EXPECT_EQ(run.output, "") << "no terminal, no --progress: silent";
    // The same cut-off, range, rows, batches and file as the run's own lines.
    const std::string summary = Found(debugLog, "records deleteted in [^\r]*\r\n[^:]*:[^:]*:[^:]*: ([^\r]*)\r\n");
    EXPECT_EQ(Found(debugLog, "Prepared timestamp: \\{ts '([^']*)'"), Found(report, "Cut-off: ([^ ]* [^ ]*)"));
    EXPECT_EQ(Found(debugLog, "(MinID = .*); MaxID"), "MinID = " + Found(report, "Lowest old id: (.*)\n"));
    EXPECT_EQ(Found(debugLog, "MaxID = ([0-9]*)"), Found(report, "Highest old id: (.*)\n"));
    const std::string expected = "12 rows deleted, 12 rows backed up to " + Found(report, "Backup: (.*)\n") + ", " +
                                 Found(report, "Batches: ([0-9]+) ") + " batches in ";
    EXPECT_EQ(summary.substr(0, expected.size()), expected);
    // The summary's rows are the rows that went: 17 seeded, 5 left; 12 lines
    // appended to the earlier one.
    EXPECT_EQ(FetchRows(*source, "SELECT id FROM " + table).size(), 5u);
    const std::string backup = ReadWholeFile(work.Path() / "backup" / "BackupFile.csv");
    EXPECT_EQ(backup.rfind(folderBefore.at("BackupFile.csv"), 0), 0u);
    EXPECT_EQ(std::count(backup.begin(), backup.end(), '\n'), 1 + 12);
    DropTable(*source, table);
}

INSTANTIATE_TEST_SUITE_P(Dbms, BinaryDryRun, ::testing::ValuesIn(TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

// Users that may only read, "dsn|user|password,..." in SORVANE_TEST_READERS,
// each on a data source of SORVANE_TEST_DSNS.
std::vector<TestDataSource> Readers() {
    std::vector<TestDataSource> readers;
    const char* listed = std::getenv("SORVANE_TEST_READERS");
    std::istringstream list(listed ? listed : "");
    for (std::string entry; std::getline(list, entry, ',');) {
        std::istringstream fields(entry);
        TestDataSource reader;
        std::getline(fields, reader.dsn, '|');
        std::getline(fields, reader.userName, '|');
        std::getline(fields, reader.password);
        readers.push_back(reader);
    }
    return readers;
}

TEST(BinaryDryRun, NeedsOnlyTheRightToRead) {
    const std::vector<TestDataSource> readers = Readers();
    if (readers.empty()) GTEST_SKIP() << "SORVANE_TEST_READERS names no read-only user";
    for (const TestDataSource& reader : readers) {
        SCOPED_TRACE(reader.dsn);
        const auto owner = OpenTestDataSource(reader.dsn);
        ASSERT_TRUE(owner);
        const std::string table = UniqueTableName("e2e_reader");
        SeedTable(*owner, table);
        TempDir work;
        fs::create_directory(work.Path() / "backup");
        Texts arguments = Arguments(reader, table);
        arguments.push_back("--dry-run");
        const ProgramRun dry = RunSorvane(work.Path(), arguments);
        EXPECT_EQ(dry.exitStatus, 0) << dry.output;
        EXPECT_EQ(Found(dry.output, "Old rows: ([0-9]+)"), "12");
        // The user may really not delete: the run itself fails.
        arguments.pop_back();
        EXPECT_EQ(RunSorvane(work.Path(), arguments).exitStatus, 1);
        EXPECT_EQ(FetchRows(*owner, "SELECT id FROM " + table).size(), 17u);
        DropTable(*owner, table);
    }
}

// On a terminal the progress line rewrites itself and the summary follows;
// in a pipe nothing shows, unless --progress asks.
TEST(BinaryProgress, ShowsOnATerminalOrWhenAskedAndNeverInAPipe) {
    const auto source = OpenTestDataSource("SQLite");
    const std::string table = UniqueTableName("e2e_progress");
    const std::string summary =
        "12 rows deleted, 12 rows backed up to backup/BackupFile.csv, 19 batches in [0-9.:]+( s)? \\([0-9]+ rows/s\\)";
    // The first batch shows at once; later lines, if the run lasts, follow.
    const std::string progress = "\r1/19 batches, [0-9]+ deleted, [0-9]+ backed up, [0-9]+ rows/s, [^\r\n]*"
                                 "(\r[0-9]+/19 batches[^\r\n]*)*";
    const std::tuple<bool, bool, std::string> cases[] = {
        {true, false, progress + "\r *\r" + summary + "\r?\n"},  // a terminal turns \n into \r\n
        {false, true, progress + "\r *\r" + summary + "\n"},
        {false, false, ""},
    };
    for (const auto& [terminal, asked, shown] : cases) {
        SCOPED_TRACE(std::to_string(terminal) + " " + std::to_string(asked));
        SeedTable(*source, table);
        TempDir work;
        fs::create_directory(work.Path() / "backup");
        Texts arguments = Arguments(*source, table);
        if (asked) arguments.push_back("--progress");
        const ProgramRun run = RunSorvane(work.Path(), arguments, terminal);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_TRUE(std::regex_match(run.output, std::regex(shown))) << run.output;
    }
}

}  // namespace
}  // namespace sorvane::test
