#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <fstream>

#include "common/run_log.h"
#include "purge/failure_of.h"
#include "purge/run_purge.h"
#include "restore/run_restore.h"
#include "support/odbc_test_env.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

struct NoEventLog : EventLogSink {
    bool Write(std::int32_t, const std::string&, std::int16_t, std::int16_t) override { return true; }
};

// The log table a syslog daemon's database packages create: 24 columns, the
// id counted by the database, both times NULL-able, 16 columns its default
// template leaves NULL. DeviceReportedTime keeps fractions of a second here
// (datetime(6) on MariaDB) so that they are tried on every database.
std::string DaemonTableSql(const std::string& dbms, const std::string& table, const std::string& check = "") {
    const bool mariaDb = dbms == "MariaDB" || dbms == "MySQL";
    const std::string id = mariaDb ? "int unsigned NOT NULL AUTO_INCREMENT PRIMARY KEY"
                                   : dbms == "PostgreSQL" ? "serial PRIMARY KEY" : "INTEGER PRIMARY KEY";
    const std::string time = mariaDb ? "datetime" : "timestamp";
    return "CREATE TABLE " + table + " (ID " + id + ", CustomerID bigint, ReceivedAt " + time +
           " NULL, DeviceReportedTime " + time + (mariaDb ? "(6)" : "") +
           " NULL, Facility smallint NULL, Priority smallint NULL" + check +
           ", FromHost varchar(60) NULL, Message text, NTSeverity int NULL, Importance int NULL, "
           "EventSource varchar(60), EventUser varchar(60) NULL, EventCategory int NULL, EventID int NULL, "
           "EventBinaryData text NULL, MaxAvailable int NULL, CurrUsage int NULL, MinUsage int NULL, "
           "MaxUsage int NULL, InfoUnitID int NULL, SysLogTag varchar(60), EventLogType varchar(60), "
           "GenericFileName varchar(60), SystemID int NULL)" + (mariaDb ? " CHARACTER SET utf8mb4" : "");
}

// Old rows as the daemon writes them (the 16 columns NULL), one with every
// column set, and one young row that the purge leaves.
std::vector<std::string> DaemonRowsSql(const std::string& dbms, const std::string& table) {
    const std::string chr = dbms == "PostgreSQL" ? "chr" : "char";
    const std::string crlf = dbms == "MariaDB" ? "CONCAT('two', CHAR(13), CHAR(10), 'lines')"
                                               : "'two' || " + chr + "(13) || " + chr + "(10) || 'lines'";
    const std::string fields = " (ID, ReceivedAt, DeviceReportedTime, Facility, Priority, FromHost, Message, SysLogTag)";
    std::string longText = test::LongText(10240);
    std::string literal;
    for (const char c : longText) literal += c == '\'' ? "''" : std::string(1, c);
    return {"INSERT INTO " + table + fields + " VALUES "
           "(1, '2020-11-08 00:00:00', '2020-11-08 00:00:00', 3, 6, 'host1', 'plain', 'sshd[1]:'), "
           "(2, '2020-11-17 23:59:59', '2020-11-17 23:59:59.75', 0, 0, 'h2', " + crlf + ", 'k:'), "
           "(3, '2020-11-18 00:00:01', NULL, 23, 7, 'h3', '" + literal + "', 'big:'), "
           "(4, '2020-12-31 12:00:00', '2020-12-31 11:59:58.5', 1, 5, 'h4', "
           "'comma, \"quoted\"; emoji \xF0\x9F\x98\x80 M\xC3\xBCller', 'app:'), "
           "(9, '2999-01-01 00:00:00', NULL, 1, 1, 'young', 'stays', 'x:')",
           "INSERT INTO " + table + " VALUES (5, 9007199254740993, '2020-03-09 09:33:27', '2020-03-09 09:33:20', "
           "4, 2, 'h5', 'all set', -1, 2, 'src, \"x\"', 'user', 7, 4625, 'bin', 100, 50, 1, 99, 3, 'tag:', "
           "'Security', 'file.log', 12)"};
}

class RestoreRunTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        auto source = test::OpenTestDataSource(GetParam());
        if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
        source_ = *source;
        table_ = test::UniqueTableName("SystemEvents");
    }
    void TearDown() override {
        if (!table_.empty()) test::DropTable(source_, table_);
    }

    void CreateTable(const std::string& check = "") {
        test::DropTable(source_, table_);
        test::RunSql(source_, DaemonTableSql(source_.dbms, table_, check));
    }
    std::vector<test::Row> Rows() const { return test::FetchRows(source_, "SELECT * FROM " + table_ + " ORDER BY ID"); }

    RestoreRequest Request(const std::string& file, bool dryRun = false, int batchRows = 500) const {
        return {test::SettingsFor(source_, table_, dir_.Path().string()), file, dryRun, batchRows};
    }
    RestoreReport Restore(const RestoreRequest& request) {
        PurgeHost host;
        return RunRestore(request, host, log_);
    }
    // A backup file of the given lines, each ending in CR LF.
    std::string File(const std::vector<std::string>& lines) const {
        const std::string name = (dir_.Path() / "hand.csv").string();
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines) out << line << "\r\n";
        return name;
    }

    test::TestDataSource source_;
    std::string table_;
    test::TempDir dir_;
    NoEventLog eventLog_;
    RunLog log_{eventLog_};
};

// PostgreSQL names the columns in lower case.
std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A 24-field line of the daemon's layout.
std::string Line(int id, const std::string& receivedAt, const std::string& priority = "6") {
    return std::to_string(id) + ",," + receivedAt + ",,3," + priority + ",host,\"a, b\",,,,,,,,,,,,,tag:,,,";
}

TEST_P(RestoreRunTest, APurgedTableComesBackColumnForColumnAndOnlyOnce) {
    for (const char* locale : {"C.UTF-8", "de_DE.UTF-8"}) {
        SCOPED_TRACE(locale);
        test::ScopedLocale scoped(locale);
        ASSERT_TRUE(scoped.Available());
        CreateTable();
        for (const std::string& sql : DaemonRowsSql(source_.dbms, table_)) test::RunSql(source_, sql);
        const std::vector<test::Row> before = Rows();
        ASSERT_EQ(before.size(), 6u);

        PurgeSettings purge = test::SettingsFor(source_, table_, dir_.Path().string());
        purge.days = 30;
        purge.recordsPerTrip = 2;
        purge.backupRows = kTrue16;
        purge.deleteRows = kTrue16;
        purge.fileName = std::string("backup-") + locale;
        purge.overwrite = 1;
        PurgeHost host;
        RunPurge(purge, host, log_);
        ASSERT_EQ(Rows().size(), 1u) << "the purge left old rows";

        const std::string file = dir_.Path() / (purge.fileName + ".csv");
        const RestoreReport dry = Restore(Request(file, true));
        EXPECT_EQ(std::make_tuple(dry.read, dry.restored, dry.present), std::make_tuple(5, 5, 0));
        EXPECT_EQ(Rows().size(), 1u) << "the dry run inserted rows";

        const RestoreReport first = Restore(Request(file, false, 2));
        EXPECT_EQ(std::make_tuple(first.read, first.restored, first.present), std::make_tuple(5, 5, 0));
        EXPECT_EQ(Rows(), before);
        const RestoreReport second = Restore(Request(file));
        EXPECT_EQ(std::make_tuple(second.read, second.restored, second.present), std::make_tuple(5, 0, 5));
        EXPECT_EQ(Rows(), before);
    }
}

TEST_P(RestoreRunTest, AFileThatDoesNotFitIsRefusedBeforeAnythingIsInserted) {
    CreateTable();
    const std::string good = Line(1, "2020-11-08");
    const std::tuple<std::vector<std::string>, std::string> cases[] = {
        // lines of the file, what the refusal says
        {{"1,2020-11-08,,3,6,host,tag:,plain"}, "Line 1 of " + dir_.Path().string() + "/hand.csv has 8 fields, "
                                                "but the table " + table_ + " has 24 columns"},
        {{good, Line(2, "2020-11-08"), Line(3, "2020-11-08") + ","}, "Line 3 of "},
        {{good, "2;;2020-11-08;;3;6;host;x;;;;;;;;;;;;;;tag:;;;"}, "Line 2 of "},
        {{good, Line(2, "2020-11-08"), Line(3, "yesterday")}, "Line 3 of " + dir_.Path().string() +
                                                              "/hand.csv, column ReceivedAt: 'yesterday' is not a "
                                                              "date and time. Nothing was restored"},
        {{good, Line(2, "31.02.2020")}, "Line 2 of "},
        {{good, "x" + Line(2, "2020-11-08")}, "column ID: 'x2' is not a whole number"},
    };
    for (const auto& [lines, refusal] : cases) {
        SCOPED_TRACE(lines.back());
        const RunFailure failure = FailureOf([&] { Restore(Request(File(lines), false, 1)); });
        EXPECT_NE(Lower(failure.Description()).find(Lower(refusal)), std::string::npos) << failure.Description();
        EXPECT_TRUE(Rows().empty()) << "rows were inserted";
    }
    // A file that a purge run is still writing (it holds a shared lock).
    const std::string written = File({good});
    const int writer = ::open(written.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_SH), 0);
    const RunFailure busy = FailureOf([&] { Restore(Request(written)); });
    ::close(writer);
    EXPECT_NE(busy.Description().find("is being written by a purge run"), std::string::npos) << busy.Description();
    EXPECT_TRUE(Rows().empty());
}

TEST_P(RestoreRunTest, ABatchTheDatabaseRefusesIsUndoneAndARerunGoesOn) {
    CreateTable(" CHECK (Priority < 1000)");
    test::RunSql(source_, "INSERT INTO " + table_ + " (ID, Priority) VALUES (2, 1)");
    // Batches of three: 1, 2 (in the table), 1 again | 3, 4 (refused), 5.
    const std::vector<std::string> lines = {Line(1, "2020-11-08"), Line(2, "2020-11-08"), Line(1, "2020-11-08"),
                                            Line(3, "2020-11-08"), Line(4, "2020-11-08 10:00:00", "5000"),
                                            Line(5, "2020-11-08")};
    const RunFailure failure = FailureOf([&] { Restore(Request(File(lines), false, 3)); });
    EXPECT_NE(failure.Description().find("Line 5 of "), std::string::npos) << failure.Description();
    EXPECT_NE(failure.Description().find("Nothing of this batch (lines 4 to 6)"), std::string::npos);
    const auto ids = [&] { return test::FetchRows(source_, "SELECT ID FROM " + table_ + " ORDER BY ID"); };
    EXPECT_EQ(ids(), (std::vector<test::Row>{{"1"}, {"2"}})) << "the first batch stays, the second is undone";

    std::vector<std::string> fixed = lines;
    fixed[4] = Line(4, "2020-11-08 10:00:00", "500");
    const RestoreReport rerun = Restore(Request(File(fixed), false, 3));
    EXPECT_EQ(std::make_tuple(rerun.read, rerun.restored, rerun.present), std::make_tuple(6, 3, 3));
    EXPECT_EQ(ids(), (std::vector<test::Row>{{"1"}, {"2"}, {"3"}, {"4"}, {"5"}}));
}

INSTANTIATE_TEST_SUITE_P(Dbms, RestoreRunTest, ::testing::ValuesIn(test::TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sorvane
