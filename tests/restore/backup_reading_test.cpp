#include <gtest/gtest.h>

#include <sqlext.h>

#include <sstream>
#include <tuple>

#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "purge/failure_of.h"
#include "restore/backup_record_reader.h"
#include "restore/restore_column.h"
#include "support/odbc_test_env.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

using Fields = std::vector<std::string>;

// Rows written as the export writes them, then read back.
std::vector<BackupRecord> WriteAndRead(const std::vector<Fields>& rows, const std::string& separator,
                                       const std::string& escape, std::size_t readChunk) {
    std::string file;
    for (const Fields& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            AppendCsvField(file, row[i], separator, escape);
            if (i + 1 < row.size()) file += separator;
        }
        file += "\r\n";
    }
    std::istringstream stream(file);
    BackupRecordReader reader(stream, separator, escape, readChunk);
    std::vector<BackupRecord> records;
    for (BackupRecord record; reader.Next(record);) records.push_back(record);
    return records;
}

TEST(BackupRecordReader, ReadsBackEveryFieldTheExportWrites) {
    const std::string longText = test::LongText(3000);
    const std::vector<Fields> rows = {
        {"1", "", "plain", ""},
        {"2", "a, \"q\"\r\nline two", "\"", "semi;colon"},
        {"3", "lone\rcr and lone\nlf", longText, "x \xF0\x9F\x98\x80"},
        {"", "", "", ""},
        {"5", "\\ back \\\" slash\\", "ends in quote\"", "||"},
        {"6", "the last field enclosed, \"q\""},
    };
    const std::tuple<const char*, const char*, std::size_t> formats[] = {
        // separator, escape, bytes read at a time (small ones cut the file at every place)
        {",", "\"", 1 << 20}, {",", "\"", 1}, {",", "\"", 2}, {";", "\"", 3}, {"||", "\"", 1},
        {"||", "\"", 5}, {",", "\\", 1}, {",", "\\", 7}};
    for (const auto& [separator, escape, readChunk] : formats) {
        SCOPED_TRACE(std::string("-sep=") + separator + " -esc=" + escape + " chunk " + std::to_string(readChunk));
        const std::vector<BackupRecord> records = WriteAndRead(rows, separator, escape, readChunk);
        ASSERT_EQ(records.size(), rows.size());
        std::int64_t line = 1;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(records[i].fields, rows[i]) << "row " << i + 1;
            EXPECT_EQ(records[i].row, static_cast<std::int64_t>(i + 1));
            EXPECT_EQ(records[i].line, line) << "row " << i + 1;
            for (const std::string& field : rows[i]) line += std::count(field.begin(), field.end(), '\n');
            ++line;
        }
    }
}

TEST(BackupRecordReader, AFieldLeftOpenAtTheEndIsRefusedWithItsLine) {
    std::istringstream stream("1,a\r\n2,\"open\r\nstill open");
    BackupRecordReader reader(stream, ",", "\"");
    BackupRecord record;
    ASSERT_TRUE(reader.Next(record));
    const RunFailure failure = FailureOf([&] { reader.Next(record); });
    EXPECT_NE(failure.Description().find("Line 2 "), std::string::npos) << failure.Description();
}

// Each value as the export shows it in the locale, and as the restore gives
// it back to the driver.
TEST(ConvertBackupField, ReadsWhatTheExportWritesInEitherLocale) {
    const std::tuple<int, const char*, const char*> cases[] = {
        // SQL type, the driver's value, the value given back
        {SQL_INTEGER, "-42", "-42"},
        {SQL_BIGINT, "4294967295", "4294967295"},
        {SQL_DECIMAL, "12.50", "12.5"},
        {SQL_NUMERIC, "-12345678901234567.25", "-12345678901234567.25"},
        {SQL_DOUBLE, "0.125", "0.125"},
        {SQL_TYPE_TIMESTAMP, "2026-11-08 00:00:00", "2026-11-08 00:00:00"},
        {SQL_TYPE_TIMESTAMP, "2026-11-17 23:59:59.750000", "2026-11-17 23:59:59.75"},
        {SQL_TYPE_TIMESTAMP, "2024-02-29 10:05:09", "2024-02-29 10:05:09"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 00:00:00.000001", "2026-11-30 00:00:00.000001"},
        {SQL_TYPE_DATE, "2026-11-29", "2026-11-29"},
        {SQL_TYPE_TIME, "10:11:12.5", "10:11:12.5"},
        {SQL_LONGVARCHAR, " a, \"b\" \r\n", " a, \"b\" \r\n"},
    };
    for (const char* locale : {"C.UTF-8", "de_DE.UTF-8"}) {
        test::ScopedLocale scoped(locale);
        ASSERT_TRUE(scoped.Available()) << locale << " is not installed";
        for (const auto& [sqlType, value, expected] : cases) {
            const std::string field = FieldText(sqlType, std::string(value));
            SCOPED_TRACE(std::string(locale) + ": " + field);
            EXPECT_EQ(ConvertBackupField({"c", sqlType, 0, 0, true}, field), expected);
        }
    }
}

TEST(ConvertBackupField, TakesTheIsoFormsAndRefusesWhatIsNoValue) {
    test::ScopedLocale scoped("de_DE.UTF-8");
    ASSERT_TRUE(scoped.Available());
    const std::tuple<int, bool, const char*, std::optional<std::string>> cases[] = {
        // SQL type, nullable, field, value (nothing: NULL, or "!" for refused)
        {SQL_TYPE_TIMESTAMP, true, "2026-11-08", "2026-11-08 00:00:00"},
        {SQL_TYPE_TIMESTAMP, true, "2026-11-08T10:05:09.25", "2026-11-08 10:05:09.25"},
        {SQL_TYPE_TIMESTAMP, true, "17.11.2026 23:59:59.5", "2026-11-17 23:59:59.5"},
        {SQL_DECIMAL, true, "1.5", "1.5"},
        {SQL_INTEGER, true, "+7", "7"},
        {SQL_INTEGER, true, "", std::nullopt},
        {SQL_VARCHAR, true, "", std::nullopt},
        {SQL_VARCHAR, false, "", ""},
        {SQL_INTEGER, false, "", "!"},
        {SQL_INTEGER, true, "1,5", "!"},
        {SQL_INTEGER, true, "12 ", "!"},
        {SQL_DECIMAL, true, "1e5", "!"},
        {SQL_TYPE_TIMESTAMP, true, "31.02.2026", "!"},
        {SQL_TYPE_TIMESTAMP, true, "08.11.2026 25:00:00", "!"},
        {SQL_TYPE_TIMESTAMP, true, "08.11.2026 10:05", "!"},
        {SQL_TYPE_TIMESTAMP, true, "Facility", "!"},
        {SQL_TYPE_DATE, true, "08.11.2026 10:05:09", "!"},
    };
    for (const auto& [sqlType, nullable, field, expected] : cases) {
        SCOPED_TRACE(std::string(field) + (nullable ? " (NULL allowed)" : " (NOT NULL)"));
        const RestoreColumn column{"Col", sqlType, 0, 0, nullable};
        if (expected == "!") {
            const RunFailure failure = FailureOf([&] { ConvertBackupField(column, field); });
            EXPECT_NE(failure.Description().find("column Col: '"), std::string::npos) << failure.Description();
        } else {
            EXPECT_EQ(ConvertBackupField(column, field), expected);
        }
    }
}

}  // namespace
}  // namespace sorvane
