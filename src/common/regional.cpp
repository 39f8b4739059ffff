#include "common/regional.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <string_view>
#include <utility>

#include "common/regional_platform.h"

namespace sorvane {

namespace {

// A short date without the century (%y, or %D which means %m/%d/%y) would
// make backups and logs ambiguous, so such locales (C, POSIX, C.UTF-8 among
// them) get ISO 8601 dates and times instead.
bool LocaleDateHasTwoDigitYear() {
    const std::string format = platform::LocaleShortDateFormat();
    return format.empty() || format.find("%y") != std::string::npos ||
           format.find("%D") != std::string::npos;
}

void AppendFormatted(std::string& text, const std::string& format, const std::tm& time) {
    if (format.empty()) return;
    char buffer[256];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &time);
    text.append(buffer, length);
}

std::string DecimalSeparator() {
    const char* point = std::localeconv()->decimal_point;
    return (point != nullptr && *point != '\0') ? point : ".";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// %T and %r spelt out, so that the seconds can be found in the format.
std::string SpeltOutTimeFormat(std::string format) {
    const std::pair<const char*, const char*> composites[] = {{"%T", "%H:%M:%S"}, {"%r", "%I:%M:%S %p"}};
    for (const auto& [composite, spelt] : composites) {
        for (std::size_t at = format.find(composite); at != std::string::npos; at = format.find(composite)) {
            format.replace(at, 2, spelt);
        }
    }
    return format;
}

// `format` read at `text` (as strptime reads it): what is left, or nullptr.
const char* ReadFormat(const char* text, const std::string& format, std::tm& time) {
    if (text == nullptr || format.empty()) return text;
    return platform::ReadTimeText(text, format.c_str(), time);
}

// A fraction of a second at `text` (the locale's decimal separator or a
// point, then digits): what is left after it.
const char* ReadFraction(const char* text, std::string& fraction) {
    if (text == nullptr) return nullptr;
    const std::string point = DecimalSeparator();
    std::size_t skip = 0;
    if (std::string_view(text).substr(0, point.size()) == point) {
        skip = point.size();
    } else if (*text == '.') {
        skip = 1;
    }
    if (skip == 0 || !IsDigit(text[skip])) return text;
    text += skip;
    while (IsDigit(*text)) fraction += *text++;
    return text;
}

// The long time (or `format`) at `text`, with the fraction after the
// seconds where LongTimeText puts it.
const char* ReadTimeAt(const char* text, const std::string& timeFormat, DateTimeReading& value) {
    const std::string format = SpeltOutTimeFormat(timeFormat);
    const std::size_t seconds = format.find("%S");
    if (seconds == std::string::npos) return ReadFraction(ReadFormat(text, format, value.time), value.fraction);
    const char* rest = ReadFormat(text, format.substr(0, seconds + 2), value.time);
    rest = ReadFraction(rest, value.fraction);
    return ReadFormat(rest, format.substr(seconds + 2), value.time);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// strptime takes 31 for any month.
bool IsCalendarDate(const std::tm& time) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (time.tm_mon < 0 || time.tm_mon > 11 || time.tm_mday < 1) return false;
    const int year = time.tm_year + 1900;
    const int last = days[time.tm_mon] + (time.tm_mon == 1 && IsLeapYear(year) ? 1 : 0);
    return time.tm_mday <= last;
}

std::optional<DateTimeReading> ReadDateIn(const std::string& text, const std::string& dateFormat,
                                       const std::string& timeFormat) {
    DateTimeReading value;
    value.time.tm_mday = 0;
    const char* rest = ReadFormat(text.c_str(), dateFormat, value.time);
    if (rest == nullptr || !IsCalendarDate(value.time)) return std::nullopt;
    if (*rest == '\0') return value;
    if (*rest != ' ' && *rest != 'T') return std::nullopt;
    rest = ReadTimeAt(rest + 1, timeFormat, value);
    if (rest == nullptr || *rest != '\0') return std::nullopt;
    return value;
}

}  // namespace

std::optional<DateTimeReading> ReadGeneralDate(const std::string& text) {
    if (auto value = ReadDateIn(text, ShortDateFormat(), LongTimeFormat())) return value;
    return ReadDateIn(text, "%Y-%m-%d", "%H:%M:%S");
}

std::optional<DateTimeReading> ReadLongTime(const std::string& text) {
    for (const std::string& format : {LongTimeFormat(), std::string("%H:%M:%S")}) {
        DateTimeReading value;
        const char* rest = ReadTimeAt(text.c_str(), format, value);
        if (rest != nullptr && *rest == '\0') return value;
    }
    return std::nullopt;
}

std::string ShortDateFormat() {
    return LocaleDateHasTwoDigitYear() ? "%Y-%m-%d" : platform::LocaleShortDateFormat();
}

std::string LongTimeFormat() {
    if (LocaleDateHasTwoDigitYear()) return "%H:%M:%S";
    const std::string format = platform::LocaleLongTimeFormat();
    return format.empty() ? "%H:%M:%S" : format;
}

DateTimeForms::DateTimeForms()
    : shortDate_(ShortDateFormat()), longTime_(LongTimeFormat()), decimalSeparator_(DecimalSeparator()) {
    // The fraction belongs right after the seconds, before any AM/PM mark.
    const std::string spelt = SpeltOutTimeFormat(longTime_);
    const std::size_t seconds = spelt.find("%S");
    upToSeconds_ = seconds == std::string::npos ? spelt : spelt.substr(0, seconds + 2);
    if (seconds != std::string::npos) afterSeconds_ = spelt.substr(seconds + 2);
}

void DateTimeForms::AppendLongTime(std::string& text, const std::tm& localTime,
                                   std::string_view secondFraction) const {
    if (secondFraction.empty()) {
        AppendFormatted(text, longTime_, localTime);
        return;
    }
    AppendFormatted(text, upToSeconds_, localTime);
    text += decimalSeparator_;
    text += secondFraction;
    AppendFormatted(text, afterSeconds_, localTime);
}

void DateTimeForms::AppendGeneralDate(std::string& text, const std::tm& localTime,
                                      std::string_view secondFraction) const {
    AppendFormatted(text, shortDate_, localTime);
    if (localTime.tm_hour != 0 || localTime.tm_min != 0 || localTime.tm_sec != 0 || !secondFraction.empty()) {
        text += ' ';
        AppendLongTime(text, localTime, secondFraction);
    }
}

std::string LongTimeText(const std::tm& localTime, const std::string& secondFraction) {
    std::string text;
    DateTimeForms().AppendLongTime(text, localTime, secondFraction);
    return text;
}

std::string FormatGeneralDate(const std::tm& localTime, const std::string& secondFraction) {
    std::string text;
    DateTimeForms().AppendGeneralDate(text, localTime, secondFraction);
    return text;
}

std::string FormatGeneralDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatGeneralDate(local);
}

std::optional<double> ReadNumber(const std::string& text) {
    const std::string point = DecimalSeparator();
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;

    // Rebuild the number in the C form that from_chars reads, accepting only
    // sign, digits, the locale's decimal separator and an exponent: no hex,
    // no "inf" or "nan", nothing left over.
    std::string plain;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    std::size_t digits = 0;
    while (i < end && IsDigit(text[i])) { plain += text[i++]; ++digits; }
    if (text.compare(i, point.size(), point) == 0 && i + point.size() <= end) {
        plain += '.';
        i += point.size();
        while (i < end && IsDigit(text[i])) { plain += text[i++]; ++digits; }
    }
    if (digits == 0) return std::nullopt;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        std::size_t exponentDigits = 0;
        while (i < end && IsDigit(text[i])) { plain += text[i++]; ++exponentDigits; }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != end) return std::nullopt;

    const char* first = plain.data();
    if (*first == '+') ++first;  // from_chars takes no plus sign
    double value = 0;
    const auto [last, error] = std::from_chars(first, plain.data() + plain.size(), value);
    if (error != std::errc() || last != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::string FormatNumber(double value) {
    char buffer[64];
    // %g follows LC_NUMERIC, so the locale's decimal separator comes for free.
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

}  // namespace sorvane
