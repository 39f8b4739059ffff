// The built program run as a scheduler runs it: a child process in a folder of
// its own, judged only by its exit status, debug.log, backup file and database.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "support/csv_reader.h"
#include "support/sorvane_binary.h"
#include "support/temp_dir.h"

namespace sorvane::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

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
    // Values longer than the export's read buffer, enclosed for their quotes, commas and line breaks.
    const auto enclosed = [](const std::string& text) {
        return "\"" + std::regex_replace(text, std::regex("\""), "\"\"") + "\"";
    };
    const std::string someKiB = LongText(6000), oneMiB = LongText(1 << 20);
    return {row(4, young, "inside the last batch", {}),
            row(5, oldDay + " 10:00:00", "plain text", "plain text"),
            row(6, oldDay + " 10:00:01", "say \"hi\"", "\"say \"\"hi\"\"\""),
            row(7, young, "late arrival, young", {}),
            row(8, oldDay + " 10:00:02", "a, b", "\"a, b\""),
            row(9, LocalDate(-30) + " 23:59:59", "Grüße aus Köln; 日本", "Grüße aus Köln; 日本"),
            row(11, kCutOffDate + " 00:00:01", "one second too young", {}),
            row(12, oldDay + " 11:00:00", std::nullopt, ""),
            row(13, oldDay + " 11:30:00", someKiB, enclosed(someKiB)),
            row(14, oldDay + " 11:45:00", oneMiB, enclosed(oneMiB)),
            row(15, oldDay + " 12:00:00", "top of the range", "top of the range"),
            row(16, young, "young above the range", {})};
}

Texts Ids(const TestDataSource& source, const std::string& table) {
    Texts ids;
    for (const Row& row : FetchRows(source, "SELECT id FROM " + table + " ORDER BY id")) ids.push_back(*row.at(0));
    return ids;
}

class BinaryFullRun : public ::testing::TestWithParam<std::string> {};

TEST_P(BinaryFullRun, BacksUpAndDeletesExactlyTheOldRows) {
    const auto source = OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = UniqueTableName("e2e_full");
    CreateLogTable(*source, table);
    for (const auto& [row, backupLine] : Fixture()) InsertLogRows(*source, table, {row});
    // Relative paths: a temporary folder's random name may hold "-h".
    TempDir work;
    fs::create_directory(work.Path() / "backup");
    Texts arguments{"-dsn=" + source->dsn, "-table=" + table, "-ndays=30", "-delrecpertrip=3", "-backup=1",
                    "-delete=1", "-filepath=backup", "-includedate=1", "-debug"};
    AppendCredentials(arguments, *source);

    const ProgramRun run = RunSorvane(work.Path(), arguments);
    const std::string debugLog = ReadWholeFile(work.Path() / "debug.log");
    EXPECT_EQ(run.exitStatus, 0) << run.output << debugLog;
    EXPECT_EQ(run.output, "") << "a command-line run writes nothing to a console";
    EXPECT_EQ(Ids(*source, table), (Texts{"4", "7", "11", "16"}));

    // Old ids 5..15 in batches of 3 from the top: (15,12], (12,9], (9,6], (6,3].
    EXPECT_TRUE(std::regex_match(debugLog, std::regex(R"((\d{4}-\d{2}-\d{2}( \d{2}:\d{2}:\d{2})?: [^\r\n]*\r\n)+)")));
    std::size_t from = 0;
    for (const std::string& step :
         Texts{"ConSorvane was started successfully", "Thread set to: THREAD_PRIORITY_LOWEST",
               "Class set to: IDLE_PRIORITY_CLASS", "Prepared timestamp: {ts '" + kCutOffDate + " 00:00:00'}",
               "MinID = 5; MaxID = 15", "Start deleting", "About  12 records deleteted in 00:00:"}) {
        from = debugLog.find(step, from);
        ASSERT_NE(from, std::string::npos) << "missing or out of order: " << step << "\n" << debugLog;
    }

    ASSERT_EQ(std::distance(fs::directory_iterator(work.Path() / "backup"), {}), 1);
    const fs::path backupFile = fs::directory_iterator(work.Path() / "backup")->path();
    EXPECT_TRUE(std::regex_match(backupFile.filename().string(), std::regex(R"(\d{4}-\d{2}-\d{2}-BackupFile\.csv)")));
    // Compared as CR LF lines: the file's last line needs its CR LF too.
    std::string expectedText;
    for (const auto& [row, backupLine] : Fixture()) { if (backupLine) expectedText += *backupLine + "\r\n"; }
    const Texts writtenLines = CrLfLines(ReadWholeFile(backupFile)), expectedLines = CrLfLines(expectedText);
    const std::multiset<std::string> written(writtenLines.begin(), writtenLines.end());
    EXPECT_TRUE(written == std::multiset<std::string>(expectedLines.begin(), expectedLines.end()))
        << written.size() << " lines written, " << expectedLines.size() << " expected";
    DropTable(*source, table);
}

// Careless command lines, each added to one that would back up and delete
// every old row: refused with exit status 2 and one line naming the argument,
// before anything is touched.
TEST_P(BinaryFullRun, RefusesACarelessCommandLineBeforeTouchingAnything) {
    const auto source = OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = UniqueTableName("e2e_careless");
    CreateLogTable(*source, table);
    InsertLogRows(*source, table, LogRowsAt(1, 3, LocalDate(-40) + " 10:00:00"));
    InsertLogRows(*source, table, LogRowsAt(4, 4, LocalDate(-1) + " 10:00:00"));
    Texts base{"-dsn=" + source->dsn, "-table=" + table, "-backup=1", "-delete=1", "-filepath=backup"};
    AppendCredentials(base, *source);
    const Texts tooMany(22, "-delrecpertrip=5");
    // The careless arguments and which of them is refused; every kind of
    // refusal is command_line_test's, these show what the program does then.
    const std::pair<Texts, std::size_t> cases[] = {
        {{"-ndays", "30"}, 0}, {{"-ndays=30", "30"}, 1}, {{"-timecol=receivedat"}, 0}, {{"--dry-runn"}, 0},
        {{"-debug", "-ndays=3O"}, 1}, {{"-ndays=3O", "-debug"}, 0}, {tooMany, 22 - base.size()},
    };
    for (const auto& [careless, refusedIndex] : cases) {
        Texts arguments = base;
        arguments.insert(arguments.end(), careless.begin(), careless.end());
        const std::size_t refusedAt = base.size() + refusedIndex + 1;
        const std::string refused = arguments[refusedAt - 1];
        SCOPED_TRACE(refused);
        TempDir work;
        fs::create_directory(work.Path() / "backup");
        const ProgramRun run = RunSorvane(work.Path(), arguments);
        EXPECT_EQ(run.exitStatus, 2);
        const std::string line = "Refused argument " + std::to_string(refusedAt) + ", \"" + refused + "\": ";
        EXPECT_TRUE(run.output.starts_with(line) && run.output.find('\n') == run.output.size() - 1) << run.output;
        EXPECT_EQ(Ids(*source, table), (Texts{"1", "2", "3", "4"}));
        EXPECT_TRUE(fs::is_empty(work.Path() / "backup"));
        const bool debug = std::find(arguments.begin(), arguments.end(), "-debug") != arguments.end();
        EXPECT_EQ(std::distance(fs::directory_iterator(work.Path()), {}), debug ? 2 : 1);
        // The refusal with -debug anywhere; the value's own line only after an earlier -debug.
        const std::string debugLog = debug ? ReadWholeFile(work.Path() / "debug.log") : "";
        EXPECT_EQ(debugLog.find(line) != std::string::npos, debug);
        EXPECT_EQ(debugLog.find(": The Value for ndays must be numeric!\r\n") != std::string::npos,
                  careless.front() == "-debug");
    }
    DropTable(*source, table);
}

// Arguments reach the program as given: a tab separator writes a
// tab-separated backup, a double quote is part of a value and groups
// nothing, and a value naming options sets none of them.
TEST_P(BinaryFullRun, TakesEachArgumentAsGiven) {
    const auto source = OpenTestDataSource(GetParam());
    if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
    const std::string table = UniqueTableName("e2e_given");
    CreateLogTable(*source, table);
    const std::string old = LocalDate(-40) + " 10:00:00";
    std::vector<LogRow> rows = LogRowsAt(1, 3, old);
    rows[1].message = "a\ttab, a \"quote\"";
    InsertLogRows(*source, table, rows);
    TempDir work;
    fs::create_directory(work.Path() / "backup-delete=1");
    // The arguments after the quote still apply; the rows stay without -delete.
    Texts arguments{"-dsn=" + source->dsn, "-table=" + table, "-backup=1", "-filename=say \"hi",
                    "-filepath=backup-delete=1", "-sep=\t"};
    AppendCredentials(arguments, *source);
    const ProgramRun run = RunSorvane(work.Path(), arguments);
    EXPECT_EQ(std::tuple(run.exitStatus, run.output), std::tuple(0, ""));
    EXPECT_EQ(Ids(*source, table), (Texts{"1", "2", "3"}));
    CsvRows expected;
    for (const LogRow& row : rows) {
        expected.push_back({std::to_string(row.id), row.receivedAt, row.deviceReportedTime, std::to_string(row.facility),
                            std::to_string(row.priority), row.fromHost, row.sysLogTag, *row.message});
    }
    // Batches are exported from the highest ids down.
    CsvRows written = ReadCsvWithPython(work.Path() / "backup-delete=1" / "say \"hi.csv", "\t");
    std::sort(written.begin(), written.end());
    EXPECT_EQ(FirstDifference(written, expected), "");
    DropTable(*source, table);
}

INSTANTIATE_TEST_SUITE_P(Dbms, BinaryFullRun, ::testing::ValuesIn(TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

// What the terminal shows: "--version", and only that exact argument, answers
// at once without a log or a database; a run that fails writes its event as
// one line on standard error. No case leaves a file behind.
TEST(BinaryTerminal, VersionAnswersAtOnceAndAFailureSaysWhyOnOneLine) {
    const std::string version = "sorvane " SORVANE_VERSION "\n";
    const std::tuple<Texts, int, std::string> cases[] = {
        {{"--version"}, 0, version},
        {{"-debug", "-dsn=NoSuchSorvaneSource", "-delete=1", "--version"}, 0, version},
        {{"--versions"}, 2, "Refused argument 1, \"--versions\": --version takes no value\n"},
        // The name starts the argument: a data source named ...-host shows no manual page.
        {{"-dsn=NoSuchSorvane-host", "-delete=1"}, 1,
         "Runtime error during program execution  - run time error \\d+ - \\[IM002\\][^\n]*\n"},
    };
    for (const auto& [arguments, status, output] : cases) {
        TempDir work;
        const ProgramRun run = RunSorvane(work.Path(), arguments);
        EXPECT_EQ(run.exitStatus, status) << arguments.back();
        EXPECT_TRUE(std::regex_match(run.output, std::regex(output))) << run.output;
        EXPECT_TRUE(fs::is_empty(work.Path())) << arguments.back();
    }
}

// Without a display -h and -help write the manual page to standard output: the
// copy in the current folder when there is one, else the one beside the program.
TEST(BinaryManualPage, WritesTheManualPageToStandardOutput) {
    // The text rendered from the troff page at build time, beside the program.
    const std::string shipped = ReadWholeFile(fs::path(SORVANE_BINARY).parent_path() / "sorvane-manpage.txt");
    const std::string local = "LOCAL PAGE\r\n\r\nline three\r\n";
    const Texts shippedLines = CrLfLines(shipped);  // a copy saved with LF ends would show as one endless line
    EXPECT_GT(shippedLines.size(), 100u);
    for (const std::string& line : shippedLines) {
        const bool plain = std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; });
        EXPECT_TRUE(plain && line.size() <= 80) << line;
    }
    for (const Texts& arguments : {Texts{"-h"}, Texts{"-help"}, Texts{"-h", "-help"}}) {
        TempDir work;
        const bool localCopy = arguments.back() == "-help";
        if (localCopy) std::ofstream(work.Path() / "sorvane-manpage.txt", std::ios::binary) << local;
        const ProgramRun run = RunSorvane(work.Path(), arguments);
        EXPECT_EQ(run.exitStatus, 2) << "no -dsn, so no purge ran";
        const std::string page = std::regex_replace(localCopy ? local : shipped, std::regex("\r\n"), "\n") + "\n";
        // Standard error, captured with it, ends with the event of the missing -dsn.
        const std::string pages = arguments.size() == 2 ? page + page : page;
        EXPECT_EQ(run.output, pages + "The following parameters are missing: -dsn\n") << arguments[0];
    }
}

}  // namespace
}  // namespace sorvane::test
