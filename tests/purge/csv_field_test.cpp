#include <gtest/gtest.h>

#include <sqlext.h>

#include <array>
#include <string>
#include <string_view>
#include <tuple>

#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

TEST(EncodeCsvField, EscapesQuotesAndEnclosesWhatAReaderWouldSplit) {
    const std::array<const char*, 4> cases[] = {
        // text, separator, escape, field
        {"say \"hi\"", ",", "\"", "\"say \"\"hi\"\"\""},
        {"a,b", ",", "\"", "\"a,b\""},
        {"lone\rcr", ",", "\"", "\"lone\rcr\""},
        {"semi;colon", ",", "\"", "semi;colon"},
        {"semi;colon", ";", "\"", "\"semi;colon\""},
        {"a,b", ";", "\"", "\"a,b\""},  // a comma is enclosed whatever the separator
        {"a||b", "||", "\"", "\"a||b\""},
        {"a|b", "||", "\"", "a|b"},
        {"say \"hi\"", ",", "\\", "\\say \\\"hi\\\"\\"},
        {"a,\"b\"", ",", "", "a,\"b\""},
        {"x", "", "\"", "x"},
    };
    for (const auto& [text, separator, escape, expected] : cases) {
        EXPECT_EQ(EncodeCsvField(text, separator, escape), expected) << text << " " << separator << escape;
    }
}

TEST(FieldText, FollowsTheRegionalSettings) {
    const std::tuple<int, std::optional<std::string>, const char*, const char*> cases[] = {
        // SQL type, value, text under C.UTF-8, text under de_DE.UTF-8
        {SQL_VARCHAR, "2026-11-30 00:00:00", "2026-11-30 00:00:00", "2026-11-30 00:00:00"},
        {SQL_BIGINT, "9007199254740993", "9007199254740993", "9007199254740993"},
        {SQL_DECIMAL, "12.50", "12.5", "12,5"},
        {SQL_NUMERIC, "12345678901234567.25", "12345678901234567.25", "12345678901234567,25"},
        // psqlODBC writes the separator of the process's locale.
        {SQL_NUMERIC, "299,250", "299,250", "299,25"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 00:00:00", "2026-11-30", "30.11.2026"},
        {SQL_TYPE_TIMESTAMP, "2026-11-29 10:05:09.000000", "2026-11-29 10:05:09", "29.11.2026 10:05:09"},
        // A fraction that is not zero is kept, without trailing zeros.
        {SQL_TYPE_TIMESTAMP, "2026-11-29 10:05:09.234500", "2026-11-29 10:05:09.2345", "29.11.2026 10:05:09,2345"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 00:00:00.000001", "2026-11-30 00:00:00.000001", "30.11.2026 00:00:00,000001"},
        {SQL_TYPE_TIME, "10:11:12.5", "10:11:12.5", "10:11:12,5"},
        {SQL_TYPE_TIMESTAMP, "yesterday", "yesterday", "yesterday"},
        {SQL_TYPE_DATE, "2026-11-29", "2026-11-29", "29.11.2026"},
    };
    for (const bool german : {false, true}) {
        test::ScopedLocale locale(german ? "de_DE.UTF-8" : "C.UTF-8");
        ASSERT_TRUE(locale.Available()) << "de_DE.UTF-8 is not installed (scripts/install-deps makes it)";
        for (const auto& [sqlType, value, underC, underGerman] : cases) {
            EXPECT_EQ(FieldText(sqlType, value), german ? underGerman : underC) << sqlType << " " << *value;
        }
    }
}

TEST(FieldText, ReadsOnlyTheDateAndTimeFormsDriversWriteAndKeepsTheRest) {
    const test::ScopedLocale locale("C.UTF-8");
    ASSERT_TRUE(locale.Available());
    const std::tuple<int, const char*, const char*> cases[] = {
        {SQL_TYPE_TIMESTAMP, "2026-11-30T23:59:60.123456", "2026-11-30 23:59:60.123456"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 00:00:00.000000", "2026-11-30"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30", "2026-11-30"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 7:08:09", "2026-11-30 7:08:09"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 07:08", "2026-11-30 07:08"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 07:08:09 ", "2026-11-30 07:08:09 "},
        {SQL_TYPE_TIMESTAMP, "2026-13-30 07:08:09", "2026-13-30 07:08:09"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 24:00:00", "2026-11-30 24:00:00"},
        {SQL_TYPE_TIMESTAMP, "26-11-30 07:08:09", "26-11-30 07:08:09"},
        {SQL_TYPE_TIMESTAMP, "2026-11-3", "2026-11-3"},
        {SQL_TYPE_TIMESTAMP, "", ""},
        {SQL_TYPE_DATE, "2026-02-01 10:00:00", "2026-02-01 10:00:00"},
        {SQL_TYPE_TIME, "10:11:12", "10:11:12"},
        {SQL_TYPE_TIME, "00:00:00", "00:00:00"},
        {SQL_TYPE_TIME, "10:11", "10:11"},
    };
    for (const auto& [type, value, expected] : cases) {
        EXPECT_EQ(FieldText(type, std::string(value)), expected) << type << " " << value;
    }
}

// One writer and one scratch text serve a whole batch: each value's text is
// its own, whatever came before it, and a value is read only as far as its
// length (the driver's buffer goes on after it).
TEST(FieldTextWriter, GivesEachValueItsOwnTextInTurn) {
    const test::ScopedLocale locale("de_DE.UTF-8");
    ASSERT_TRUE(locale.Available());
    const std::string buffer = "2026-11-29 10:05:09.25|12.50|2026-11-30 00:00:00";
    const std::string_view whole(buffer);
    const std::tuple<int, std::optional<std::string_view>, const char*> cases[] = {
        {SQL_TYPE_TIMESTAMP, whole.substr(0, 22), "29.11.2026 10:05:09,25"},
        {SQL_TYPE_TIMESTAMP, whole.substr(0, 10), "29.11.2026"},
        {SQL_TYPE_TIMESTAMP, whole.substr(0, 19), "29.11.2026 10:05:09"},
        {SQL_TYPE_TIME, whole.substr(11, 8), "10:05:09"},
        {SQL_DECIMAL, whole.substr(23, 5), "12,5"},
        {SQL_DECIMAL, whole.substr(23, 4), "12,5"},
        {SQL_DECIMAL, whole.substr(23, 2), "12"},
        {SQL_VARCHAR, whole.substr(29, 10), "2026-11-30"},
        {SQL_TYPE_DATE, whole.substr(29, 10), "30.11.2026"},
        {SQL_TYPE_TIMESTAMP, std::nullopt, ""},
        {SQL_DOUBLE, std::string_view("-0.25"), "-0,25"},
        {SQL_TYPE_TIMESTAMP, whole.substr(29), "30.11.2026"},
        {SQL_INTEGER, std::string_view("42"), "42"},
    };
    const FieldTextWriter writer;
    std::string scratch;
    for (const auto& [sqlType, value, expected] : cases) {
        SCOPED_TRACE(std::string(value.value_or("NULL")));
        EXPECT_EQ(writer.Text(sqlType, value, scratch), expected);
    }
}

}  // namespace
}  // namespace sorvane
