#include "purge/field_text.h"

#include <sqlext.h>

#include <charconv>
#include <clocale>
#include <ctime>

#include "common/regional.h"

namespace sorvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string DecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    return (point != nullptr && *point != '\0') ? point : ".";
}

// Drivers write decimals in the C form ("-12.50"), some (psqlODBC) with the
// decimal separator of the process's locale ("-12,50"). Shown as the number
// it is: trailing zeros of the fraction dropped, the locale's separator.
// Every digit is kept, which a double could not promise for wide decimals.
std::string DecimalText(const std::string& value) {
    std::size_t i = (!value.empty() && (value[0] == '-' || value[0] == '+')) ? 1 : 0;
    const std::size_t digitsStart = i;
    while (i < value.size() && IsDigit(value[i])) ++i;
    if (i == digitsStart) return value;
    if (i == value.size()) return value;
    const std::string separator = DecimalSeparator();
    std::size_t pointLength = 0;
    if (value[i] == '.') {
        pointLength = 1;
    } else if (value.compare(i, separator.size(), separator) == 0) {
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
    std::string text = value.substr(0, i);
    if (end > fractionStart) text += separator + value.substr(fractionStart, end - fractionStart);
    return text;
}

std::string FloatText(const std::string& value) {
    double number = 0;
    const char* first = value.data();
    const char* last = value.data() + value.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last) return value;
    return FormatNumber(number);
}

// The number written by exactly `count` digits at `text`, or -1.
int ReadDigits(const char* text, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Reads "YYYY-MM-DD", "HH:MM:SS" or both joined by a blank or 'T', with an
// optional fraction after the seconds, given back without its trailing zeros.
// Parsed by hand: a backup reads one or two of these per row.
bool ReadDateTime(const std::string& value, bool wantDate, bool wantTime, std::tm& time,
                  std::string& fraction) {
    time = std::tm{};
    fraction.clear();
    time.tm_mday = 1;
    const char* text = value.c_str();
    if (wantDate) {
        const int year = ReadDigits(text, 4);
        const int month = year < 0 || text[4] != '-' ? -1 : ReadDigits(text + 5, 2);
        const int day = month < 0 || text[7] != '-' ? -1 : ReadDigits(text + 8, 2);
        if (day < 0) return false;
        time.tm_year = year - 1900;
        time.tm_mon = month - 1;
        time.tm_mday = day;
        text += 10;
        if (*text == '\0') return month >= 1 && month <= 12 && day >= 1 && day <= 31;
        if (!wantTime || (*text != ' ' && *text != 'T')) return false;
        ++text;
    }
    const int hour = ReadDigits(text, 2);
    const int minute = hour < 0 || text[2] != ':' ? -1 : ReadDigits(text + 3, 2);
    const int second = minute < 0 || text[5] != ':' ? -1 : ReadDigits(text + 6, 2);
    if (second < 0) return false;
    text += 8;
    if (*text == '.') {
        const char* digits = ++text;
        while (IsDigit(*text)) ++text;
        const char* end = text;
        while (end > digits && end[-1] == '0') --end;
        fraction.assign(digits, end);
    }
    if (*text != '\0') return false;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time.tm_mon >= 0 && time.tm_mon <= 11 && hour <= 23 && minute <= 59 && second <= 60;
}

}  // namespace

std::string FieldText(int sqlType, const std::optional<std::string>& value) {
    if (!value) return {};
    std::tm time{};
    std::string fraction;
    switch (sqlType) {
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            return DecimalText(*value);
        case SQL_REAL:
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return FloatText(*value);
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            // A timestamp column may also hold a bare date (SQLite keeps text).
            if (ReadDateTime(*value, true, true, time, fraction)) return FormatGeneralDate(time, fraction);
            return *value;
        case SQL_TYPE_DATE:
        case SQL_DATE:
            if (ReadDateTime(*value, true, false, time, fraction)) return FormatGeneralDate(time);
            return *value;
        case SQL_TYPE_TIME:
        case SQL_TIME:
            if (ReadDateTime(*value, false, true, time, fraction)) return LongTimeText(time, fraction);
            return *value;
        default:
            // Integers come as plain digits already; text stays as it is.
            return *value;
    }
}

}  // namespace sorvane
