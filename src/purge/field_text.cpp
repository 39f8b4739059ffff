#include "purge/field_text.h"

#include <sqlext.h>

#include <charconv>
#include <clocale>
#include <ctime>

namespace sorvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string DecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    return (point != nullptr && *point != '\0') ? point : ".";
}

// The character at `at`, or '\0' past the end.
char CharAt(std::string_view text, std::size_t at) { return at < text.size() ? text[at] : '\0'; }

// Drivers write decimals in the C form ("-12.50"), some (psqlODBC) with the
// decimal separator of the process's locale ("-12,50"). Shown as the number
// it is: trailing zeros of the fraction dropped, the locale's separator.
// Every digit is kept, which a double could not promise for wide decimals.
std::string_view DecimalText(std::string_view value, const std::string& separator, std::string& text) {
    std::size_t i = (!value.empty() && (value[0] == '-' || value[0] == '+')) ? 1 : 0;
    const std::size_t digitsStart = i;
    while (i < value.size() && IsDigit(value[i])) ++i;
    if (i == digitsStart) return value;
    if (i == value.size()) return value;
    std::size_t pointLength = 0;
    if (value[i] == '.') {
        pointLength = 1;
    } else if (value.substr(i, separator.size()) == separator) {
        pointLength = separator.size();
    } else {
        return value;
    }
    const std::size_t fractionStart = i + pointLength;
    std::size_t end = value.size();
    for (std::size_t j = fractionStart; j < end; ++j) {
        if (!IsDigit(value[j])) return value;
    }
    while (end > fractionStart && value[end - 1] == '0') --end;
    text.assign(value.substr(0, i));
    if (end > fractionStart) {
        text += separator;
        text += value.substr(fractionStart, end - fractionStart);
    }
    return text;
}

std::string_view FloatText(std::string_view value, std::string& text) {
    double number = 0;
    const char* first = value.data();
    const char* last = value.data() + value.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) return value;
    text = FormatNumber(number);
    return text;
}

// The number written by exactly `count` digits at `at`, or -1.
int ReadDigits(std::string_view text, std::size_t at, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = CharAt(text, at + static_cast<std::size_t>(i));
        if (!IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Reads "YYYY-MM-DD", "HH:MM:SS" or both joined by a blank or 'T', with an
// optional fraction after the seconds, given back without its trailing zeros.
// Parsed by hand: a backup reads one or two of these per row.
bool ReadDateTime(std::string_view value, bool wantDate, bool wantTime, std::tm& time,
                  std::string_view& fraction) {
    time = std::tm{};
    fraction = {};
    time.tm_mday = 1;
    std::size_t at = 0;
    if (wantDate) {
        const int year = ReadDigits(value, 0, 4);
        const int month = year < 0 || CharAt(value, 4) != '-' ? -1 : ReadDigits(value, 5, 2);
        const int day = month < 0 || CharAt(value, 7) != '-' ? -1 : ReadDigits(value, 8, 2);
        if (day < 0) return false;
        time.tm_year = year - 1900;
        time.tm_mon = month - 1;
        time.tm_mday = day;
        at = 10;
        if (at == value.size()) return month >= 1 && month <= 12 && day >= 1 && day <= 31;
        if (!wantTime || (value[at] != ' ' && value[at] != 'T')) return false;
        ++at;
    }
    const int hour = ReadDigits(value, at, 2);
    const int minute = hour < 0 || CharAt(value, at + 2) != ':' ? -1 : ReadDigits(value, at + 3, 2);
    const int second = minute < 0 || CharAt(value, at + 5) != ':' ? -1 : ReadDigits(value, at + 6, 2);
    if (second < 0) return false;
    at += 8;
    if (CharAt(value, at) == '.') {
        const std::size_t digits = ++at;
        while (IsDigit(CharAt(value, at))) ++at;
        std::size_t end = at;
        while (end > digits && value[end - 1] == '0') --end;
        fraction = value.substr(digits, end - digits);
    }
    if (at != value.size()) return false;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time.tm_mon >= 0 && time.tm_mon <= 11 && hour <= 23 && minute <= 59 && second <= 60;
}

}  // namespace

FieldTextWriter::FieldTextWriter() : decimalSeparator_(DecimalSeparator()) {}

std::string_view FieldTextWriter::Text(int sqlType, std::optional<std::string_view> value,
                                       std::string& scratch) const {
    if (!value) return {};
    std::tm time{};
    std::string_view fraction;
    switch (sqlType) {
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return DecimalText(*value, decimalSeparator_, scratch);
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return FloatText(*value, scratch);
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            // A timestamp column may also hold a bare date (SQLite keeps text).
            if (!ReadDateTime(*value, true, true, time, fraction)) return *value;
            scratch.clear();
            dates_.AppendGeneralDate(scratch, time, fraction);
            return scratch;
        case SQL_TYPE_DATE:
        case SQL_DATE:
            if (!ReadDateTime(*value, true, false, time, fraction)) return *value;
            scratch.clear();
            dates_.AppendGeneralDate(scratch, time);
            return scratch;
        case SQL_TYPE_TIME:
        case SQL_TIME:
            if (!ReadDateTime(*value, false, true, time, fraction)) return *value;
            scratch.clear();
            dates_.AppendLongTime(scratch, time, fraction);
            return scratch;
        default:
            // Integers come as plain digits already; text stays as it is.
            return *value;
    }
}

std::string FieldText(int sqlType, const std::optional<std::string>& value) {
    std::string scratch;
    const std::optional<std::string_view> view =
        value ? std::optional<std::string_view>(*value) : std::nullopt;
    return std::string(FieldTextWriter().Text(sqlType, view, scratch));
}

}  // namespace sorvane
