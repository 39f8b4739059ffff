// Whole purge runs against every available data source (SQLite always; the
// test script's MariaDB and PostgreSQL too).

#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <tuple>

#include "purge/backup_run.h"
#include "common/run_log.h"
#include "purge/failure_of.h"
#include "purge/run_purge.h"
#include "support/calendar.h"
#include "support/csv_reader.h"
#include "support/odbc_test_env.h"
#include "support/scoped_locale.h"
#include "support/temp_dir.h"

namespace sorvane {
namespace {

namespace fs = std::filesystem;
using test::CsvRows;

constexpr const char* kCutOff = "2026-11-30 00:00:00";  // 7 days on 2026-12-06

class FixedClock : public RunClock {
public:
    explicit FixedClock(std::time_t now) : now(now) {}
    std::time_t Now() const override { return now; }
    std::time_t now;
};

// Records in order the steps a run tells its host; yields are only counted.
struct RecordingHost : PurgeHost {
    std::vector<std::string> calls;
    int yields = 0;
    std::function<void(std::int64_t)> onProgress;  // after each batch, with the batch counter
    std::function<void()> onYield;
    // As a window's host by default: one thread, so each export comes after
    // the batch above is reported and the hooks fall in between.
    bool oneThread = true;
    int stopSignal = 0;

    bool YieldsOnItsThread() const override { return oneThread; }
    void Yield() override {
        ++yields;
        if (onYield) onYield();
    }
    void BatchesStarting() override { calls.push_back("starting"); }
    void BatchDone(std::int64_t counter) override {
        calls.push_back("batch " + std::to_string(counter));
        if (onProgress) onProgress(counter);
    }
    void BatchesDone() override { calls.push_back("batches done"); }
    void RunFinished(std::int64_t counter, const std::string& elapsed, bool deleted) override {
        calls.push_back("finished " + std::to_string(counter) + " " + elapsed + (deleted ? " deleted" : " backed up"));
    }
    int StopSignal() const override { return stopSignal; }
};

// Keeps what a run sends to the system log.
struct RecordingSystemLog : EventLogSink {
    bool Write(std::int32_t type, const std::string& message, std::int16_t, std::int16_t) override {
        entries.push_back(std::to_string(type) + " " + message);
        return true;
    }
    std::vector<std::string> entries;
};

// Old and young times in turn, the cut-off itself and the second after it among them.
const char* const kTimes[] = {"2026-11-30 00:00:00", "2026-11-30 00:00:01", "2026-11-29 23:59:59",
                              "2026-12-05 18:00:00", "2026-10-01 12:00:00", "2025-12-31 23:00:00",
                              "2026-12-06 09:00:00"};
// Texts the backup must carry over exactly.
const std::optional<std::string> kMessages[] = {
    "say \"hello\"", "comma, inside", "semi;colon", "two\r\nlines", "lone\nline feed", "lone\rreturn",
    "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac", std::nullopt, "back\\slash and 'single' quotes", " padded ",
    "\"quoted, with comma\"\r\n"};

std::vector<test::LogRow> SeedRows() {
    std::vector<int> ids{3, 900};
    for (int id = 101; id <= 139; ++id) {
        if (id % 7 != 0) ids.push_back(id);  // gaps
    }
    std::vector<test::LogRow> rows;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        const std::string n = std::to_string(k);
        rows.push_back({ids[k], kTimes[k % std::size(kTimes)], kTimes[(k + 3) % std::size(kTimes)],
                        static_cast<int>(k % 24), static_cast<int>(k % 8), "host-" + n, "tag[" + n + "]:",
                        kMessages[k % std::size(kMessages)]});
    }
    // Longer than the export's read buffer, in rows old by both time columns.
    rows[2].message = test::LongText(9000);
    rows[4].message = test::LongText(1 << 20);
    return rows;
}

// A seeded time as the backup shows it under C.UTF-8: midnight without its time.
std::string BackupForm(std::string time) {
    if (time.ends_with(" 00:00:00")) time.resize(10);
    return time;
}

class PurgeRunTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_TRUE(locale_.Available());
        auto source = test::OpenTestDataSource(GetParam());
        if (!source) GTEST_SKIP() << GetParam() << " cannot be reached";
        source_ = *source;
        table_ = test::UniqueTableName("SystemEvents");
        Seed(SeedRows());
    }
    void TearDown() override {
        if (!table_.empty()) test::DropTable(source_, table_);
    }

    // A fresh table holding `rows`, and no backup files yet; its id column
    // of the given type where the database has one (SQLite's INTEGER holds
    // 64 bits already).
    void Seed(std::vector<test::LogRow> rows, const std::string& idType = "") {
        rows_ = std::move(rows);
        test::CreateLogTable(source_, table_);
        if (!idType.empty() && source_.dbms == "MariaDB") test::RunSql(source_, "ALTER TABLE " + table_ + " MODIFY id " + idType + " NOT NULL");
        if (!idType.empty() && source_.dbms == "PostgreSQL") test::RunSql(source_, "ALTER TABLE " + table_ + " ALTER COLUMN id TYPE " + idType);
        test::InsertLogRows(source_, table_, rows_);
        for (const auto& file : fs::directory_iterator(dir_.Path())) fs::remove(file.path());
    }

    PurgeSettings Settings(std::int32_t width = 10, bool deleteRows = true, bool backupRows = true) const {
        PurgeSettings settings = test::SettingsFor(source_, table_, dir_.Path().string());
        settings.recordsPerTrip = width;
        settings.deleteRows = deleteRows ? kTrue16 : kFalse16;
        settings.backupRows = backupRows ? kTrue16 : kFalse16;
        return settings;
    }

    PurgeOutcome Run(const PurgeSettings& settings) { return RunPurgeWithClock(settings, host_, log_, clock_); }

    // The run must fail with `number` (0: the driver's own) and a description holding `hint`.
    void ExpectFailure(const PurgeSettings& settings, long number, const std::string& hint) {
        const RunFailure failure = FailureOf([&] { Run(settings); });
        EXPECT_FALSE(failure.Description().empty()) << "the run did not fail";
        EXPECT_TRUE(number == 0 || failure.Number() == number) << failure.Number() << failure.Description();
        EXPECT_NE(failure.Description().find(hint), std::string::npos) << failure.Description();
        // One line, as debug.log and the system log need it.
        EXPECT_EQ(failure.Description().find_first_of("\r\n"), std::string::npos) << failure.Description();
    }

    std::set<std::int64_t> RemainingIds() const {
        std::set<std::int64_t> ids;
        for (const auto& row : test::FetchRows(source_, "SELECT id FROM " + table_)) ids.insert(std::stoll(*row.at(0)));
        return ids;
    }

    // The seeded ids in (above, atMost] whose time is on or before the cut-off (old) or after it.
    std::set<std::int64_t> Ids(bool old, const std::string& timeColumn = "ReceivedAt", std::int64_t above = INT64_MIN,
                               std::int64_t atMost = INT64_MAX) const {
        std::set<std::int64_t> ids;
        for (const auto& row : rows_) {
            const std::string& time = timeColumn == "ReceivedAt" ? row.receivedAt : row.deviceReportedTime;
            if ((time <= kCutOff) == old && row.id > above && row.id <= atMost) ids.insert(row.id);
        }
        return ids;
    }

    std::set<std::int64_t> AllIds() const {
        std::set<std::int64_t> ids;
        for (const auto& row : rows_) ids.insert(row.id);
        return ids;
    }

    // The seeded rows with these ids as the backup must hold them, in id order.
    CsvRows Expected(const std::set<std::int64_t>& ids) const {
        CsvRows expected;
        for (const std::int64_t id : ids) {
            const test::LogRow& r = *std::find_if(rows_.begin(), rows_.end(), [id](const auto& row) { return row.id == id; });
            expected.push_back({std::to_string(r.id), BackupForm(r.receivedAt), BackupForm(r.deviceReportedTime),
                                std::to_string(r.facility), std::to_string(r.priority), r.fromHost, r.sysLogTag,
                                r.message.value_or("")});
        }
        return expected;
    }

    fs::path BackupFile(const std::string& name = "BackupFile.csv") const { return dir_.Path() / name; }
    CsvRows Backup(const std::string& name = "BackupFile.csv") const {  // in id order
        CsvRows rows = test::ReadCsvWithPython(BackupFile(name));
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return std::stoll(a[0]) < std::stoll(b[0]); });
        return rows;
    }

    test::ScopedLocale locale_{"C.UTF-8"};
    test::TempDir dir_;
    test::TestDataSource source_;
    std::string table_;
    std::vector<test::LogRow> rows_;
    FixedClock clock_{test::LocalMoment("2026-12-06 12:00:00")};
    RecordingHost host_;
    RecordingSystemLog systemLog_;
    RunLog log_{systemLog_};
};

TEST_P(PurgeRunTest, EachModeLeavesTheYoungRowsAndBacksUpExactlyTheDeletedOnes) {
    const std::tuple<bool, bool, std::int32_t, const char*> modes[] = {
        // delete, back up, records per trip, time column
        {true, false, 10, "ReceivedAt"}, {false, true, 10, "ReceivedAt"}, {true, true, 1, "ReceivedAt"},
        {true, true, 10, "ReceivedAt"}, {true, true, 1000, "ReceivedAt"}, {false, false, 10, "ReceivedAt"},
        {true, true, 10, "DeviceReportedTime"},
    };
    host_.oneThread = false;  // as on the command line: the batch below exported meanwhile
    for (const auto& [deleteRows, backupRows, width, timeColumn] : modes) {
        SCOPED_TRACE(::testing::Message() << deleteRows << backupRows << " " << width << " " << timeColumn);
        Seed(SeedRows());
        PurgeSettings settings = Settings(width, deleteRows, backupRows);
        settings.timeColumn = timeColumn;
        EXPECT_EQ(Run(settings), PurgeOutcome::Finished);
        EXPECT_EQ(RemainingIds(), deleteRows ? Ids(false, timeColumn) : AllIds());
        if (backupRows) {
            EXPECT_EQ(test::FirstDifference(Backup(), Expected(Ids(true, timeColumn))), "");
        } else {
            EXPECT_FALSE(fs::exists(BackupFile()));
        }
    }
}

// Old rows far apart, anywhere in the 64-bit range, go as in a dense table,
// with the figures of a batch-by-batch walk; young ones inside the stretches
// between them and in the lowest batch stay.
TEST_P(PurgeRunTest, OldRowsFarApartGoWithTheFiguresOfABatchByBatchWalk) {
    using IdList = std::vector<std::int64_t>;
    // Up to 2e9 apart; around 3e9, near 4.6e18 and at -2^31 (whose batch reaches below 32 bits); the
    // largest an INT UNSIGNED holds. Each with its young rows.
    const IdList farApart{2, 3, 5000, 5001, 700000, 2000000000}, farApartYoung{1, 4, 6000, 600000, 1999999999};
    const IdList wide{-2147483648, -2147483000, 2999999999, 3000000000, 3000001500, 4600000000000000000,
                   4600000000000000001};
    const IdList wideYoung{-2147483500, 3000000500, 4600000000000000500};
    const IdList unsignedIds{2999999999, 3000000000, 3000001500, 4294967295}, unsignedYoung{3000000500, 4294967000};
    const std::tuple<std::string, const IdList*, const IdList*, std::int32_t, bool, bool, bool> cases[] = {
        // id type, old ids, young ids, records per trip, delete, back up, one thread (as a window)
        {"", &farApart, &farApartYoung, 1, true, true, true},      {"", &farApart, &farApartYoung, 10, true, true, false},
        {"", &farApart, &farApartYoung, 1000, true, false, true},  {"", &farApart, &farApartYoung, 7, false, true, false},
        {"BIGINT", &wide, &wideYoung, 1000, true, true, false},    {"BIGINT", &wide, &wideYoung, 1000000, true, true, true},
        {"INT UNSIGNED", &unsignedIds, &unsignedYoung, 1000, true, true, false},
    };
    for (const auto& [idType, old, young, width, deleteRows, backupRows, oneThread] : cases) {
        if (idType == "INT UNSIGNED" && source_.dbms != "MariaDB") continue;
        SCOPED_TRACE(::testing::Message() << idType << " " << old->back() << " " << width << " " << deleteRows
                                          << backupRows << oneThread);
        host_.oneThread = oneThread;
        std::vector<test::LogRow> rows;
        for (const IdList* ids : {old, young}) {
            for (const std::int64_t id : *ids) {
                rows.push_back({id, ids == old ? "2026-11-01 10:00:00" : "2026-12-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h",
                                "t", ids == old ? "old" : "young"});
            }
        }
        Seed(rows, idType);
        host_.calls.clear();
        // Batch by batch these rows would take hours; a run that walks the empty stretches is stopped.
        int batches = 0;
        host_.onProgress = [&](std::int64_t) {
            if (++batches > 40) throw RunFailure(1, "walked the empty stretches");
        };
        EXPECT_EQ(Run(Settings(width, deleteRows, backupRows)), PurgeOutcome::Finished);
        EXPECT_EQ(RemainingIds(), deleteRows ? Ids(false) : AllIds());
        EXPECT_EQ(backupRows ? test::FirstDifference(Backup(), Expected(Ids(true))) : "", "");
        EXPECT_EQ(fs::exists(BackupFile()), backupRows);
        // The count a batch-by-batch walk from the highest old id to the lowest gives.
        const std::string counted = std::to_string((old->back() - old->front()) / width * width + width);
        EXPECT_EQ(host_.calls.at(host_.calls.size() - 3), "batch " + counted);
        EXPECT_EQ(host_.calls.back(), "finished " + counted + " 00:00:00" + (deleteRows ? " deleted" : " backed up"));
    }
}

TEST_P(PurgeRunTest, ARunTellsItsHostEachStep) {
    // Ids 101..125 old, 96..100 young: three batches of ten, the last one
    // reaching below the lowest id without touching the young rows there.
    std::vector<test::LogRow> rows = test::LogRowsAt(96, 125, "2026-11-01 10:00:00");
    for (int k = 0; k < 5; ++k) rows[k].receivedAt = "2026-12-01 10:00:00";
    Seed(rows);
    EXPECT_EQ(Run(Settings()), PurgeOutcome::Finished);

    const std::vector<std::string> expectedCalls{"starting", "batch 10", "batch 20", "batch 30", "batches done",
                                                 "finished 30 00:00:00 deleted"};
    EXPECT_EQ(host_.calls, expectedCalls);
    EXPECT_EQ(host_.yields, 3 + 25 * (1 + 8));  // once per batch, exported row and field (8 columns)
    EXPECT_EQ(RemainingIds(), (std::set<std::int64_t>{96, 97, 98, 99, 100}));
}

TEST_P(PurgeRunTest, ValuesLongerThanTheReadBufferComeBackWhole) {
    // Around the 2 KiB a text value is first read into, several KiB with
    // multi-byte characters, and 1 MiB; short rows between them, in one batch and in one each.
    const std::size_t lengths[] = {2047, 2048, 2049, 4097, 12000, 1 << 20};
    if (source_.dbms == "MariaDB") test::RunSql(source_, "ALTER TABLE " + table_ + " MODIFY Message MEDIUMTEXT");
    std::vector<test::LogRow> rows;
    int id = 0;
    for (const std::size_t length : lengths) {
        std::string text;
        while (text.size() < length) text += text.size() % 3 == 0 ? "\xc3\xa9" : "ab,\"";
        text.resize(length);
        if (text.back() == '\xc3') text.back() = 'x';  // no character cut in half
        rows.push_back({++id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t", text});
        rows.push_back({++id, "2026-11-01 10:00:00", "2026-11-01 10:00:00", 1, 2, "h", "t", "short"});
    }
    for (const std::int32_t width : {1000, 1}) {
        SCOPED_TRACE(width);
        test::RunSql(source_, "DELETE FROM " + table_);
        test::InsertLogRows(source_, table_, rows);
        rows_ = rows;
        fs::remove(BackupFile());
        Run(Settings(width));
        EXPECT_EQ(Backup(), Expected(Ids(true)));
    }
}

// With overwrite on, the file is named after the day the run began, so that
// tomorrow's run never empties rows that this run deleted after midnight.
TEST_P(PurgeRunTest, ARunPassingMidnightKeepsItsDayOnlyWhenItOverwrites) {
    for (const int overwrite : {1, 0}) {
        SCOPED_TRACE(overwrite);
        Seed(SeedRows());
        clock_.now = test::LocalMoment("2026-12-06 23:59:59");
        for (const char* day : {"2026-12-06", "2026-12-07"}) {
            std::ofstream(BackupFile(day + std::string("-BackupFile.csv")), std::ios::binary) << "2,stale\r\n";
        }
        PurgeSettings settings = Settings();
        settings.includeDate = 1;
        settings.overwrite = overwrite;
        host_.onProgress = [&](std::int64_t) { clock_.now = test::LocalMoment("2026-12-07 00:00:01"); };
        Run(settings);

        EXPECT_EQ(RemainingIds(), Ids(false));
        // The stale row sorts first; only the file the run began in is emptied, and only with overwrite.
        CsvRows thisDay = Backup("2026-12-06-BackupFile.csv"), nextDay = Backup("2026-12-07-BackupFile.csv");
        EXPECT_EQ(nextDay.front(), (std::vector<std::string>{"2", "stale"}));
        nextDay.erase(nextDay.begin());
        if (!overwrite) thisDay.erase(thisDay.begin());
        EXPECT_EQ(test::FirstDifference(thisDay, Expected(Ids(true, "ReceivedAt", overwrite ? INT64_MIN : 129, 139))), "");
        EXPECT_EQ(test::FirstDifference(nextDay, Expected(overwrite ? std::set<std::int64_t>{} : Ids(true, "ReceivedAt", INT64_MIN, 129))),
                  "");
    }
}

TEST_P(PurgeRunTest, AFailingRunSaysWhyAndLosesNothing) {
    const std::tuple<std::function<void(PurgeSettings&)>, long, std::string> cases[] = {
        // 0: the driver's own number
        {[](PurgeSettings& s) { s.timeColumn = "NoSuchColumn"; }, 0, ""},
        {[&](PurgeSettings& s) { s.tableName = table_ + " WHERE 1=0; DROP TABLE " + table_; },
         kInvalidArgument, "table name"},
        {[&](PurgeSettings& s) { s.filePath = (dir_.Path() / "no-such-folder").string(); }, kFileAccess,
         "no-such-folder"},
        {[](PurgeSettings& s) { s.recordsPerTrip = 0; }, kInvalidArgument, "Records per trip"},
        {[](PurgeSettings& s) { s.days = -1; }, kInvalidArgument, "0 or more, not -1"},
        {[](PurgeSettings& s) { s.dsn = " "; }, kInvalidArgument, "No data source name"},
    };
    for (const auto& [change, number, hint] : cases) {
        PurgeSettings settings = Settings();
        change(settings);
        ExpectFailure(settings, number, hint);
        EXPECT_EQ(RemainingIds(), AllIds()) << hint;
    }
}

TEST_P(PurgeRunTest, IdsThatAreNoWhole64BitNumbersAreRefused) {
    const std::string timeType = source_.dbms == "MariaDB" ? "DATETIME" : "TIMESTAMP";
    const std::tuple<std::vector<std::string>, long> cases[] = {
        {{"'9223372036854775808'"}, kOverflow}, {{"'-9223372036854775809'"}, kOverflow}, {{"'abc'", "'abd'"}, kTypeMismatch}};
    for (const auto& [ids, number] : cases) {
        SCOPED_TRACE(ids.front());
        test::DropTable(source_, table_);
        test::RunSql(source_, "CREATE TABLE " + table_ + " (id VARCHAR(30), ReceivedAt " + timeType + ")");
        for (const auto& id : ids) {
            test::RunSql(source_, "INSERT INTO " + table_ + " VALUES (" + id + ", '2026-01-01 10:00:00')");
        }
        ExpectFailure(Settings(), number, "");
        EXPECT_EQ(test::FetchRows(source_, "SELECT id FROM " + table_).size(), ids.size());
    }
}

TEST_P(PurgeRunTest, ARowPutIntoABatchAfterItsExportIsNotDeletedWithoutABackup) {
    // SQLite lets no other connection write while the export reads.
    if (source_.dbms == "SQLite") GTEST_SKIP() << "SQLite cannot take the row while the export reads";
    // On MariaDB the same on a table that cannot undo a delete: the loss is reported.
    for (const bool transactional : {true, false}) {
        if (!transactional && source_.dbms != "MariaDB") continue;
        SCOPED_TRACE(transactional);
        Seed(SeedRows());
        if (!transactional) test::RunSql(source_, "ALTER TABLE " + table_ + " ENGINE=MyISAM");
        ASSERT_FALSE(AllIds().contains(133));  // a gap in the first batch, (129, 139]
        bool inserted = false;
        host_.yields = 0;
        host_.onYield = [&] {  // while the first batch's rows are being written
            if (inserted || host_.yields < 2) return;
            inserted = true;
            test::RunSql(source_, "INSERT INTO " + table_ + " (id, ReceivedAt, DeviceReportedTime, Facility, "
                                  "Priority, FromHost, SysLogTag, Message) VALUES (133, '2026-10-01 12:00:00', "
                                  "'2026-10-01 12:00:00', 1, 2, 'h', 't', 'restored')");
        };
        std::set<std::int64_t> backedUp;
        if (transactional) {
            Run(Settings());
            for (const auto& row : Backup()) backedUp.insert(std::stoll(row.at(0)));
            std::set<std::int64_t> expected = Ids(true);
            expected.insert(133);
            EXPECT_EQ(backedUp, expected);
            EXPECT_EQ(RemainingIds(), Ids(false));
        } else {
            ExpectFailure(Settings(), kBatchChanged, "could not be restored");
        }
        host_.onYield = nullptr;
    }
}

// TZ set for the life of the object.
struct ScopedTimeZone {
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        saved ? ::setenv("TZ", saved->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    std::optional<std::string> saved;
};

TEST_P(PurgeRunTest, TimesAreTheClientsWhateverZoneTheServerIsIn) {
    if (source_.dbms == "SQLite") GTEST_SKIP() << "SQLite keeps times as text, with no zone";
    const bool mariadb = source_.dbms == "MariaDB";
    for (const char* zone : {"Asia/Tokyo", "Pacific/Pago_Pago"}) {  // UTC+9 and UTC-11 all year
        SCOPED_TRACE(zone);
        const ScopedTimeZone clientZone(zone);
        clock_.now = test::LocalMoment("2026-12-06 12:00:00");
        test::DropTable(source_, table_);
        test::RunSql(source_, "CREATE TABLE " + table_ + " (id INTEGER, ReceivedAt " +
                                  (mariadb ? "TIMESTAMP(6) NULL" : "timestamptz") + ")");
        // Instants given as seconds since 1970: the cut-off, the second after it, and
        // a quarter second before it (a fraction the backup keeps).
        const std::tuple<int, const char*, const char*> rows[] = {
            {1, "2026-11-30 00:00:00", ""}, {2, "2026-11-30 00:00:01", ""}, {3, "2026-11-29 23:59:59", ".75"}};
        for (const auto& [id, time, fraction] : rows) {
            test::RunSql(source_, "INSERT INTO " + table_ + " VALUES (" + std::to_string(id) + ", " +
                                      (mariadb ? "FROM_UNIXTIME(" : "to_timestamp(") +
                                      std::to_string(test::LocalMoment(time)) + fraction + "))");
        }
        fs::remove(BackupFile());
        Run(Settings());
        EXPECT_EQ(RemainingIds(), std::set<std::int64_t>{2});
        EXPECT_EQ(Backup(), (CsvRows{{"1", "2026-11-30"}, {"3", "2026-11-29 23:59:59.75"}}));
    }
}

// The disk "fills up" under the open backup file: its descriptor now leads to /dev/full.
void FailWritesTo(const fs::path& file) {
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code unreadable;
        if (fs::read_symlink(entry.path(), unreadable) != file) continue;
        const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        ASSERT_GE(full, 0);
        ::dup2(full, std::stoi(entry.path().filename().string()));
        ::close(full);
        return;
    }
    FAIL() << file << " is not open";
}

// A run that ends part way, by a failing write or by a stop request (seen
// before a batch begins, never between its export and its delete), leaves its
// mark; the next run with overwrite on keeps the rows the ended one deleted
// and takes the mark away when it ends.
TEST_P(PurgeRunTest, ARunEndedPartWayKeepsItsRowsThroughTheNextOverwritingRun) {
    ASSERT_FALSE(Ids(true, "ReceivedAt", 119, 129).empty());
    const fs::path mark = BackupFile("BackupFile.csv.unfinished");
    PurgeSettings settings = Settings();
    settings.overwrite = 1;
    for (const bool stop : {true, false}) {
        if (!stop && !fs::exists("/dev/full")) continue;
        SCOPED_TRACE(stop ? "stop request" : "failing write");
        Seed(SeedRows());
        systemLog_.entries.clear();
        host_.onProgress = [&](std::int64_t counter) {
            if (counter == 10) stop ? void(host_.stopSignal = 15) : FailWritesTo(BackupFile());
        };
        if (stop) {
            EXPECT_EQ(Run(settings), PurgeOutcome::Stopped);
        } else {
            ExpectFailure(settings, kFileAccess, "BackupFile.csv");
        }
        EXPECT_EQ(systemLog_.entries,
                  stop ? std::vector<std::string>{"2 Run interrupted by signal 15 after 1 batch"} : std::vector<std::string>{});
        std::set<std::int64_t> expectedRemaining = AllIds();
        for (const std::int64_t id : Ids(true, "ReceivedAt", 129, 139)) expectedRemaining.erase(id);
        EXPECT_EQ(RemainingIds(), expectedRemaining);
        EXPECT_EQ(Backup(), Expected(Ids(true, "ReceivedAt", 129, 139)));
        EXPECT_TRUE(fs::exists(mark));

        host_.onProgress = nullptr;
        host_.stopSignal = 0;
        EXPECT_EQ(Run(settings), PurgeOutcome::Finished);
        EXPECT_EQ(Backup(), Expected(Ids(true)));
        EXPECT_FALSE(fs::exists(mark));
    }
}

// A run that would empty the file another run is writing fails before it
// deletes anything; a run that appends shares the file. (Once the file is
// free, overwrite empties it once: the midnight test.)
TEST_P(PurgeRunTest, OverwriteEmptiesOnlyAFileNoOtherRunIsWriting) {
    PurgeSettings settings = Settings();
    BackupRun otherRun;
    otherRun.FileFor(settings, clock_, log_).Append("1,other run\r\n");
    settings.overwrite = 1;
    ExpectFailure(settings, kFileAccess, "another run is writing it");
    EXPECT_EQ(RemainingIds(), AllIds());
    EXPECT_EQ(test::ReadWholeFile(BackupFile()), "1,other run\r\n");

    settings.overwrite = 0;
    EXPECT_EQ(Run(settings), PurgeOutcome::Finished);
    CsvRows backup = Backup();
    EXPECT_EQ(backup.front(), (std::vector<std::string>{"1", "other run"}));
    backup.erase(backup.begin());
    EXPECT_EQ(backup, Expected(Ids(true)));
    EXPECT_TRUE(fs::exists(BackupFile("BackupFile.csv.unfinished")));  // the other run has not finished
    otherRun.Finish();
    EXPECT_FALSE(fs::exists(BackupFile("BackupFile.csv.unfinished")));
}

INSTANTIATE_TEST_SUITE_P(Dbms, PurgeRunTest, ::testing::ValuesIn(test::TestDataSourceNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace sorvane
