// Whole purge runs against every available data source (SQLite always;
// MariaDB and PostgreSQL when the test script lists them).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "purge/run_failure.h"
#include "purge/run_purge.h"
#include "startup/reporting.h"
#include "support/csv_reader.h"
#include "support/odbc_test_env.h"
#include "support/recording_purge_host.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCutOff = "2026-11-30 00:00:00";  // 7 days on 2026-12-06

class FixedClock : public RunClock {
public:
    explicit FixedClock(std::time_t now) : now(now) {}
    std::time_t Now() const override { return now; }
    std::time_t now;
};

std::time_t LocalMoment(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// Old and young times in turn, the cut-off itself and the second after it among them.
const char* const kTimes[] = {
    "2026-11-30 00:00:00", "2026-11-30 00:00:01", "2026-11-29 23:59:59", "2026-12-05 18:00:00",
    "2026-10-01 12:00:00", "2025-12-31 23:00:00", "2026-12-06 09:00:00",
};

const std::optional<std::string> kMessages[] = {
    "plain message",
    "say \"hello\"",
    "comma, inside",
    "semi;colon",
    "two\r\nlines",
    "lone\nline feed",
    "lone\rcarriage return",
    "caf\xc3\xa9 \xc3\xbc \xe6\x97\xa5\xe6\x9c\xac",
    std::nullopt,
    "back\\slash and 'single' quotes",
    " padded ",
    "\"quoted, with comma\"\r\n",
};

std::vector<test::LogRow> SeedRows() {
    std::vector<int> ids{3, 900};
    for (int id = 101; id <= 139; ++id) {
        if (id % 7 != 0) ids.push_back(id);  // gaps
    }
    std::vector<test::LogRow> rows;
    std::size_t k = 0;
    for (const int id : ids) {
        test::LogRow row;
        row.id = id;
        row.receivedAt = kTimes[k % std::size(kTimes)];
        row.deviceReportedTime = kTimes[(k + 3) % std::size(kTimes)];
        row.facility = static_cast<int>(k % 24);
        row.priority = static_cast<int>(k % 8);
        row.fromHost = "host-" + std::to_string(k);
        row.sysLogTag = "tag[" + std::to_string(k) + "]:";
        row.message = kMessages[k % std::size(kMessages)];
        rows.push_back(row);
        ++k;
    }
    return rows;
}

bool IsOld(const test::LogRow& row, const std::string& timeColumn) {
    const std::string& time = timeColumn == "ReceivedAt" ? row.receivedAt : row.deviceReportedTime;
    return time <= kCutOff;
}

// A field as the backup shows it under C.UTF-8: NULL empty, a timestamp at
// midnight without its time.
std::string BackupForm(const std::optional<std::string>& value) {
    if (!value) return {};
    std::string text = *value;
    if (text.size() == 19 && text[4] == '-' && text[10] == ' ' && text.ends_with(" 00:00:00")) {
        text.resize(10);
    }
    return text;
}

using CsvRows = std::vector<std::vector<std::string>>;

CsvRows SortedById(CsvRows rows) {
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return std::stoll(a.at(0)) < std::stoll(b.at(0)); });
    return rows;
}

class PurgeRunTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_TRUE(locale_.Available());
        auto source = test::OpenTestDataSource(GetParam());
        if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
        source_ = *source;
        table_ = test::UniqueTableName("SystemEvents");
        Seed();
    }
    void TearDown() override {
        debugEnabled = 0;
        if (!table_.empty()) test::DropTable(source_, table_);
    }

    void Seed() {
        rows_ = SeedRows();
        test::CreateLogTable(source_, table_);
        test::InsertLogRows(source_, table_, rows_);
        before_.clear();
        for (auto& row : test::FetchRows(source_, "SELECT * FROM " + table_)) {
            before_[std::stoi(*row.at(0))] = row;
        }
        ASSERT_EQ(before_.size(), rows_.size());
    }

    PurgeSettings Settings(bool deleteRows, bool backupRows, std::int16_t width) const {
        PurgeSettings settings;
        settings.dsn = source_.dsn;
        settings.userName = source_.userName;
        settings.password = source_.password;
        settings.tableName = table_;
        settings.recordsPerTrip = width;
        settings.deleteRows = deleteRows ? kTrue16 : kFalse16;
        settings.backupRows = backupRows ? kTrue16 : kFalse16;
        settings.filePath = dir_.Path().string() + "/";
        return settings;
    }

    std::set<int> RemainingIds() const {
        std::set<int> ids;
        for (const auto& row : test::FetchRows(source_, "SELECT id FROM " + table_)) {
            ids.insert(std::stoi(*row.at(0)));
        }
        return ids;
    }

    std::set<int> Ids(bool old, const std::string& timeColumn = "ReceivedAt",
                      int above = -1000000, int atMost = 1000000) const {
        std::set<int> ids;
        for (const auto& row : rows_) {
            if (IsOld(row, timeColumn) == old && row.id > above && row.id <= atMost) ids.insert(row.id);
        }
        return ids;
    }

    std::set<int> AllIds() const {
        std::set<int> ids = Ids(true);
        ids.merge(Ids(false));
        return ids;
    }

    // The rows with these ids as the backup must hold them.
    CsvRows Expected(const std::set<int>& ids) const {
        CsvRows expected;
        for (const int id : ids) {
            std::vector<std::string> fields;
            for (const auto& value : before_.at(id)) fields.push_back(BackupForm(value));
            expected.push_back(fields);
        }
        return expected;
    }

    fs::path BackupFile(const std::string& name = "BackupFile.csv") const { return dir_.Path() / name; }

    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::TestDataSource source_;
    std::string table_;
    std::vector<test::LogRow> rows_;
    std::map<int, test::Row> before_;
    FixedClock clock_{LocalMoment(2026, 12, 6, 12, 0, 0)};
};

struct ModeCase {
    const char* name;
    bool deleteRows;
    bool backupRows;
    std::int16_t width;
};

TEST_P(PurgeRunTest, LeavesTheYoungRowsAndBacksUpExactlyTheDeletedOnes) {
    const ModeCase modes[] = {
        {"delete only", true, false, 10},   {"backup only", false, true, 10},
        {"backup and delete, width 1", true, true, 1},
        {"backup and delete, width 10", true, true, 10},
        {"backup and delete, width 1000", true, true, 1000},
        {"neither", false, false, 10},
    };
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.name);
        Seed();
        fs::remove(BackupFile());
        test::RecordingPurgeHost host;
        EXPECT_EQ(RunPurgeWithClock(Settings(mode.deleteRows, mode.backupRows, mode.width), host, clock_),
                  PurgeOutcome::Finished);

        EXPECT_EQ(RemainingIds(), mode.deleteRows ? Ids(false) : AllIds());
        if (mode.backupRows) {
            EXPECT_EQ(SortedById(test::ReadCsvWithPython(BackupFile())), Expected(Ids(true)));
        } else {
            EXPECT_FALSE(fs::exists(BackupFile()));
        }
        // A command-line run touches no window.
        EXPECT_EQ(std::count_if(host.calls.begin(), host.calls.end(),
                                [](const std::string& call) { return !call.starts_with("progress"); }),
                  0);
    }
}

TEST_P(PurgeRunTest, TheTimeColumnChoosesTheRows) {
    PurgeSettings settings = Settings(true, true, 10);
    settings.timeColumn = "DeviceReportedTime";
    test::RecordingPurgeHost host;
    RunPurgeWithClock(settings, host, clock_);
    EXPECT_EQ(RemainingIds(), Ids(false, "DeviceReportedTime"));
    EXPECT_EQ(SortedById(test::ReadCsvWithPython(BackupFile())), Expected(Ids(true, "DeviceReportedTime")));
}

TEST_P(PurgeRunTest, NoOldRowIsNoDataAndChangesNothing) {
    PurgeSettings settings = Settings(true, true, 10);
    settings.days = 400;  // before every seeded time
    settings.commandLineMode = 0;
    debugEnabled = -1;
    test::ScopedCurrentDir cwd(dir_.Path());
    test::RecordingPurgeHost host;
    EXPECT_EQ(RunPurgeWithClock(settings, host, clock_), PurgeOutcome::NoData);
    EXPECT_EQ(host.calls, std::vector<std::string>{"message No Data is available"});
    EXPECT_EQ(RemainingIds(), AllIds());
    EXPECT_FALSE(fs::exists(BackupFile()));
    EXPECT_NE(test::ReadWholeFile(dir_.Path() / "debug.log").find(": No Data available\r\n"),
              std::string::npos);
}

std::vector<std::string> DebugMessages(const fs::path& log) {
    const std::string text = test::ReadWholeFile(log);
    std::vector<std::string> messages;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        const std::string line = text.substr(start, end - start);
        messages.push_back(line.substr(line.find(": ") + 2));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return messages;
}

TEST_P(PurgeRunTest, AWindowRunReportsItsBatchesAndEnds) {
    // Ids 101..125 old, 96..100 young: three batches of ten, the last one
    // reaching below the lowest id without touching the young rows there.
    test::CreateLogTable(source_, table_);
    rows_.clear();
    for (int id = 96; id <= 125; ++id) {
        test::LogRow row{id, id <= 100 ? "2026-12-01 10:00:00" : "2026-11-01 10:00:00",
                         "2026-11-01 10:00:00", 1, 2, "h", "t", "message " + std::to_string(id)};
        rows_.push_back(row);
    }
    test::InsertLogRows(source_, table_, rows_);

    PurgeSettings settings = Settings(true, true, 10);
    settings.commandLineMode = 0;
    debugEnabled = -1;
    test::ScopedCurrentDir cwd(dir_.Path());
    test::RecordingPurgeHost host;
    EXPECT_EQ(RunPurgeWithClock(settings, host, clock_), PurgeOutcome::Finished);

    const std::vector<std::string> expectedCalls{
        "interval 10000", "fields off", "timer on",
        "progress 10", "status Deleted records no:  10",
        "progress 20", "status Deleted records no:  20",
        "progress 30", "status Deleted records no:  30",
        "timer off", "fields on",
        "status Deleted  30 records in 00:00:00",
        "message Deleting successful", "end"};
    EXPECT_EQ(host.calls, expectedCalls);
    // Once per batch, and once per exported row and per field (8 columns).
    EXPECT_EQ(host.yields, 3 + 25 * (1 + 8));
    EXPECT_EQ(RemainingIds(), (std::set<int>{96, 97, 98, 99, 100}));

    const std::vector<std::string> expectedLog{
        "Thread set to: THREAD_PRIORITY_LOWEST",
        "Class set to: IDLE_PRIORITY_CLASS",
        "Prepared timestamp: {ts '2026-11-30 00:00:00'}",
        "MinID = 101; MaxID = 125",
        "Start deleting",
        "Finished deleting process",
        "About  30 records deleteted in 00:00:00",
        "Deleted  30 records in 00:00:00"};
    EXPECT_EQ(DebugMessages(dir_.Path() / "debug.log"), expectedLog);
}

TEST_P(PurgeRunTest, ABackupOnlyWindowRunSaysSo) {
    PurgeSettings settings = Settings(false, true, 1000);
    settings.commandLineMode = 0;
    test::RecordingPurgeHost host;
    RunPurgeWithClock(settings, host, clock_);
    ASSERT_GE(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[host.calls.size() - 2], "message Backup was successful");
    EXPECT_EQ(RemainingIds(), AllIds());
}

TEST_P(PurgeRunTest, OverwriteEmptiesTheFileOnceAndKeepsEveryBatch) {
    for (const int overwrite : {1, 0}) {
        SCOPED_TRACE(overwrite);
        Seed();
        { std::ofstream(BackupFile(), std::ios::binary) << "earlier,content\r\n"; }
        PurgeSettings settings = Settings(true, true, 1);
        settings.overwrite = overwrite;
        test::RecordingPurgeHost host;
        RunPurgeWithClock(settings, host, clock_);
        CsvRows expected = Expected(Ids(true));
        CsvRows backup = test::ReadCsvWithPython(BackupFile());
        if (overwrite == 0) {
            ASSERT_FALSE(backup.empty());
            EXPECT_EQ(backup.front(), (std::vector<std::string>{"earlier", "content"}));
            backup.erase(backup.begin());
        }
        EXPECT_EQ(SortedById(backup), expected);
    }
}

TEST_P(PurgeRunTest, ARunPassingMidnightWritesToTheNewDaysFile) {
    clock_.now = LocalMoment(2026, 12, 6, 23, 59, 59);
    { std::ofstream(BackupFile("2026-12-07-BackupFile.csv"), std::ios::binary) << "stale\r\n"; }
    PurgeSettings settings = Settings(true, true, 10);
    settings.includeDate = 1;
    settings.overwrite = 1;
    test::RecordingPurgeHost host;
    host.onProgress = [&](std::int64_t) { clock_.now = LocalMoment(2026, 12, 7, 0, 0, 1); };
    RunPurgeWithClock(settings, host, clock_);

    EXPECT_EQ(RemainingIds(), Ids(false));
    const CsvRows firstDay = SortedById(test::ReadCsvWithPython(BackupFile("2026-12-06-BackupFile.csv")));
    const CsvRows nextDay = SortedById(test::ReadCsvWithPython(BackupFile("2026-12-07-BackupFile.csv")));
    EXPECT_EQ(firstDay, Expected(Ids(true, "ReceivedAt", 129, 139)));
    EXPECT_EQ(nextDay, Expected(Ids(true, "ReceivedAt", -1000000, 129)));
}

void ExpectFailure(const std::function<void()>& run, long number, const std::string& hint) {
    try {
        run();
        ADD_FAILURE() << "the run did not fail";
    } catch (const RunFailure& failure) {
        if (number != 0) {
            EXPECT_EQ(failure.Number(), number) << failure.Description();
        }
        EXPECT_FALSE(failure.Description().empty());
        if (!hint.empty()) {
            EXPECT_NE(failure.Description().find(hint), std::string::npos) << failure.Description();
        }
    }
}

TEST_P(PurgeRunTest, NamesTheDatabaseRejectsFailTheRunAndLoseNothing) {
    test::RecordingPurgeHost host;
    PurgeSettings missingTable = Settings(true, true, 10);
    missingTable.tableName = "NoSuchTable";
    ExpectFailure([&] { RunPurgeWithClock(missingTable, host, clock_); }, 0, "");
    PurgeSettings missingColumn = Settings(true, true, 10);
    missingColumn.timeColumn = "NoSuchColumn";
    ExpectFailure([&] { RunPurgeWithClock(missingColumn, host, clock_); }, 0, "");
    PurgeSettings injected = Settings(true, true, 10);
    injected.tableName = table_ + " WHERE 1=0; DROP TABLE " + table_;
    ExpectFailure([&] { RunPurgeWithClock(injected, host, clock_); }, kInvalidArgument, "table name");
    EXPECT_EQ(RemainingIds(), AllIds());
}

TEST_P(PurgeRunTest, IdsThatAreNoWhole32BitNumbersAreRefused) {
    const std::string timeType = source_.dbms == "MariaDB" ? "DATETIME" : "TIMESTAMP";
    struct IdCase {
        const char* idType;
        std::vector<std::string> ids;
        long number;
    };
    const IdCase cases[] = {
        {"BIGINT", {"5000000000", "7"}, kOverflow},
        {"BIGINT", {"-2147483649"}, kOverflow},
        {"VARCHAR(20)", {"'abc'", "'abd'"}, kTypeMismatch},
        // Fits, but the batch below it leaves 32 bits.
        {"INTEGER", {"-2147483645"}, kOverflow},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.idType + std::string(" ") + c.ids.front());
        test::RunSql(source_, "DROP TABLE IF EXISTS " + table_);
        test::RunSql(source_, "CREATE TABLE " + table_ + " (id " + c.idType + ", ReceivedAt " + timeType + ")");
        for (const auto& id : c.ids) {
            test::RunSql(source_, "INSERT INTO " + table_ + " VALUES (" + id + ", '2026-01-01 10:00:00')");
        }
        test::RecordingPurgeHost host;
        ExpectFailure([&] { RunPurgeWithClock(Settings(true, true, 10), host, clock_); }, c.number, "");
        EXPECT_EQ(test::FetchRows(source_, "SELECT id FROM " + table_).size(), c.ids.size());
    }
}

TEST_P(PurgeRunTest, AnUnwritableBackupStopsTheRunBeforeItsBatchIsDeleted) {
    PurgeSettings settings = Settings(true, true, 10);
    settings.filePath = (dir_.Path() / "no-such-folder").string();
    test::RecordingPurgeHost host;
    ExpectFailure([&] { RunPurgeWithClock(settings, host, clock_); }, kFileAccess, "no-such-folder");
    EXPECT_EQ(RemainingIds(), AllIds());

    PurgeSettings mismatch = Settings(true, true, 10);
    mismatch.overwrite = std::string("yes");
    ExpectFailure([&] { RunPurgeWithClock(mismatch, host, clock_); }, kTypeMismatch, "overwrite");
    EXPECT_EQ(RemainingIds(), AllIds());
}

TEST_P(PurgeRunTest, ABackupFailingPartWayKeepsTheBatchItWasWriting) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    ASSERT_FALSE(Ids(true, "ReceivedAt", 119, 129).empty());
    PurgeSettings settings = Settings(true, true, 10);
    test::RecordingPurgeHost host;
    // After the first batch the disk "fills up": the file now leads to /dev/full.
    host.onProgress = [&](std::int64_t counter) {
        if (counter != 10) return;
        fs::rename(BackupFile(), dir_.Path() / "first-batch.csv");
        fs::create_symlink("/dev/full", BackupFile());
    };
    ExpectFailure([&] { RunPurgeWithClock(settings, host, clock_); }, kFileAccess, "BackupFile.csv");

    std::set<int> expectedRemaining = AllIds();
    for (const int id : Ids(true, "ReceivedAt", 129, 139)) expectedRemaining.erase(id);
    EXPECT_EQ(RemainingIds(), expectedRemaining);
    EXPECT_EQ(SortedById(test::ReadCsvWithPython(dir_.Path() / "first-batch.csv")),
              Expected(Ids(true, "ReceivedAt", 129, 139)));
}

std::string ParamName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (const char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Dbms, PurgeRunTest, ::testing::ValuesIn(test::TestDataSourceNames()), ParamName);

TEST(PurgeRunSettings, ARecordsPerTripBelowOneIsRefusedBeforeAnythingIsTouched) {
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.Path());
    debugEnabled = -1;
    for (const std::int16_t width : {std::int16_t{0}, std::int16_t{-1}}) {
        PurgeSettings settings;
        settings.dsn = "NoSuchSource";
        settings.recordsPerTrip = width;
        test::RecordingPurgeHost host;
        ExpectFailure([&] { RunPurge(settings, host); }, kInvalidArgument, "Records per trip");
    }
    debugEnabled = 0;
    // Neither the priority step nor the cut-off wrote a line.
    EXPECT_FALSE(fs::exists(dir.Path() / "debug.log"));
}

TEST(PurgeRunSettings, AnUnknownDataSourceFailsWithTheDriverManagersReason) {
    test::EnsureTestOdbcEnvironment();
    PurgeSettings settings;
    settings.dsn = "NoSuchSource";
    test::RecordingPurgeHost host;
    ExpectFailure([&] { RunPurge(settings, host); }, 0, "IM002");
}

}  // namespace
}  // namespace sorvane
