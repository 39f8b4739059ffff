#include <gtest/gtest.h>

#include <sqlext.h>

#include "purge/csv_field.h"
#include "purge/field_text.h"
#include "support/scoped_locale.h"

namespace sorvane {
namespace {

struct EncodeCase {
    const char* text;
    const char* separator;
    const char* escape;
    const char* expected;
};

TEST(EncodeCsvField, EscapesQuotesAndEnclosesWhatAReaderWouldSplit) {
    const EncodeCase cases[] = {
        {"abc", ",", "\"", "abc"},
        {"", ",", "\"", ""},
        {"say \"hi\"", ",", "\"", "\"say \"\"hi\"\"\""},
        {"a,b", ",", "\"", "\"a,b\""},
        {"a,b\r\nc", ",", "\"", "\"a,b\r\nc\""},
        {"line\r\nbreak", ",", "\"", "\"line\r\nbreak\""},
        {"lone\rcr", ",", "\"", "\"lone\rcr\""},
        {"lone\nlf", ",", "\"", "\"lone\nlf\""},
        {"semi;colon", ",", "\"", "semi;colon"},
        // With ';' between fields a semicolon must be enclosed, and a comma
        // still is.
        {"semi;colon", ";", "\"", "\"semi;colon\""},
        {"a,b", ";", "\"", "\"a,b\""},
        {"tab\there", "\t", "\"", "\"tab\there\""},
        {"a||b", "||", "\"", "\"a||b\""},
        {"a|b", "||", "\"", "a|b"},
        {"say \"hi\"", ",", "\\", "\\say \\\"hi\\\"\\"},
        {"a,b", ",", "\\", "\\a,b\\"},
        {"back\\slash", ",", "\\", "back\\slash"},
        {"a,\"b\"", ",", "", "a,\"b\""},
        {"caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac", ",", "\"", "caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac"},
        {"x", "", "\"", "x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeCsvField(c.text, c.separator, c.escape), c.expected)
            << "text [" << c.text << "] separator [" << c.separator << "] escape [" << c.escape << "]";
    }
}

struct FieldCase {
    int sqlType;
    std::optional<std::string> value;
    const char* underC;
    const char* underGerman;
};

TEST(FieldText, FollowsTheRegionalSettings) {
    const FieldCase cases[] = {
        {SQL_VARCHAR, std::nullopt, "", ""},
        {SQL_INTEGER, std::nullopt, "", ""},
        {SQL_VARCHAR, "1.5", "1.5", "1.5"},
        {SQL_VARCHAR, "2026-11-30 00:00:00", "2026-11-30 00:00:00", "2026-11-30 00:00:00"},
        {SQL_INTEGER, "-42", "-42", "-42"},
        {SQL_BIGINT, "9007199254740993", "9007199254740993", "9007199254740993"},
        {SQL_DECIMAL, "12.50", "12.5", "12,5"},
        {SQL_NUMERIC, "-3.000", "-3", "-3"},
        {SQL_NUMERIC, "12345678901234567.25", "12345678901234567.25", "12345678901234567,25"},
        {SQL_DOUBLE, "0.25", "0.25", "0,25"},
        {SQL_REAL, "3", "3", "3"},
        {SQL_DOUBLE, "not a number", "not a number", "not a number"},
        {SQL_TYPE_TIMESTAMP, "2026-11-29 10:05:09", "2026-11-29 10:05:09", "29.11.2026 10:05:09"},
        {SQL_TYPE_TIMESTAMP, "2026-11-30 00:00:00", "2026-11-30", "30.11.2026"},
        {SQL_TYPE_TIMESTAMP, "2026-11-29 10:05:09.000000", "2026-11-29 10:05:09", "29.11.2026 10:05:09"},
        {SQL_TYPE_TIMESTAMP, "2026-11-29", "2026-11-29", "29.11.2026"},
        {SQL_TYPE_TIMESTAMP, "yesterday", "yesterday", "yesterday"},
        {SQL_TYPE_DATE, "2026-11-29", "2026-11-29", "29.11.2026"},
        {SQL_TYPE_TIME, "07:08:09", "07:08:09", "07:08:09"},
    };
    const std::pair<const char*, bool> locales[] = {{"C.UTF-8", false}, {"de_DE.UTF-8", true}};
    for (const auto& [name, german] : locales) {
        test::ScopedLocale locale(name);
        if (!locale.Available()) {
            ADD_FAILURE() << "locale " << name << " is not installed";
            continue;
        }
        for (const auto& c : cases) {
            EXPECT_EQ(FieldText(c.sqlType, c.value), german ? c.underGerman : c.underC)
                << name << " type " << c.sqlType << " value " << c.value.value_or("NULL");
        }
    }
}

}  // namespace
}  // namespace sorvane
