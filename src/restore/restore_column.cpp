#include "restore/restore_column.h"

#include <sqlext.h>

#include <clocale>
#include <cstdio>

#include "common/regional.h"
#include "common/run_failure.h"

namespace sorvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsText(int sqlType) {
    switch (sqlType) {
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_LONGVARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
        case SQL_WLONGVARCHAR:
            return true;
        default:
            return false;
    }
}

[[noreturn]] void Refuse(const RestoreColumn& column, const std::string& field, const std::string& what) {
    // A long field is shown by its start only: the message goes to the
    // system log.
    const std::string shown = field.size() > 60 ? field.substr(0, 60) + "..." : field;
    throw RunFailure(kInvalidArgument, "column " + column.name + ": '" + shown + "' is not " + what);
}

std::string DecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    return (point != nullptr && *point != '\0') ? point : ".";
}

// Sign, digits, an optional fraction after the locale's separator or a
// point, and (when allowed) an exponent; given back in the C form.
std::optional<std::string> PlainNumber(const std::string& text, bool fraction, bool exponent) {
    const std::string point = DecimalSeparator();
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) { plain += text[i++]; ++digits; }
    if (fraction && i < text.size()) {
        std::size_t skip = 0;
        if (text.compare(i, point.size(), point) == 0) skip = point.size();
        else if (text[i] == '.') skip = 1;
        if (skip > 0) {
            plain += '.';
            i += skip;
            while (i < text.size() && IsDigit(text[i])) { plain += text[i++]; ++digits; }
        }
    }
    if (digits == 0) return std::nullopt;
    if (exponent && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) { plain += text[i++]; ++exponentDigits; }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    return plain;
}

std::string TwoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string DateText(const std::tm& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", time.tm_year + 1900, time.tm_mon + 1, time.tm_mday);
    return text;
}

std::string TimeText(const DateTimeReading& value) {
    std::string text = TwoDigits(value.time.tm_hour) + ":" + TwoDigits(value.time.tm_min) + ":" +
                       TwoDigits(value.time.tm_sec);
    if (!value.fraction.empty()) text += "." + value.fraction;
    return text;
}

}  // namespace

std::optional<std::string> ConvertBackupField(const RestoreColumn& column, const std::string& field) {
    if (field.empty()) {
        // The file holds NULL and empty text alike as an empty field.
        if (column.nullable) return std::nullopt;
        if (IsText(column.sqlType)) return std::string();
        Refuse(column, field, "allowed: the column may not be NULL");
    }
    switch (column.sqlType) {
        case SQL_TINYINT:
        case SQL_SMALLINT:
        case SQL_INTEGER:
        case SQL_BIGINT:
            if (auto number = PlainNumber(field, false, false)) return number;
            Refuse(column, field, "a whole number");
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            if (auto number = PlainNumber(field, true, false)) return number;
            Refuse(column, field, "a decimal number");
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            if (auto number = PlainNumber(field, true, true)) return number;
            Refuse(column, field, "a number");
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            if (const auto value = ReadGeneralDate(field)) return DateText(value->time) + " " + TimeText(*value);
            Refuse(column, field, "a date and time");
        case SQL_TYPE_DATE:
        case SQL_DATE:
            if (const auto value = ReadGeneralDate(field)) {
                const std::tm& time = value->time;
                if (time.tm_hour == 0 && time.tm_min == 0 && time.tm_sec == 0 && value->fraction.empty()) {
                    return DateText(time);
                }
            }
            Refuse(column, field, "a date");
        case SQL_TYPE_TIME:
        case SQL_TIME:
            if (const auto value = ReadLongTime(field)) return TimeText(*value);
            Refuse(column, field, "a time of day");
        default:
            return field;
    }
}

}  // namespace sorvane
