// Dates and times read back by the strftime formats that the regional
// settings give (regional_windows.cpp): numbers, the C runtime's month and day
// names and its AM/PM marks, literal characters, blanks and the '#' flag that
// drops a leading zero. The C runtime has no reader of its own.

#include <cctype>
#include <cstring>
#include <string>

#include "common/regional_platform.h"

namespace sorvane::platform {

namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

const char* SkipBlanks(const char* text) {
    while (IsBlank(*text)) ++text;
    return text;
}

// Up to `digits` digits (after blanks) within [low, high].
const char* ReadNumber(const char* text, int digits, int low, int high, int& value) {
    text = SkipBlanks(text);
    if (!std::isdigit(static_cast<unsigned char>(*text))) return nullptr;
    value = 0;
    for (int read = 0; read < digits && std::isdigit(static_cast<unsigned char>(*text)); ++read) {
        value = value * 10 + (*text++ - '0');
    }
    return value < low || value > high ? nullptr : text;
}

std::string Formatted(const char* format, const std::tm& time) {
    char buffer[64];
    const std::size_t length = std::strftime(buffer, sizeof buffer, format, &time);
    return std::string(buffer, length);
}

bool StartsWithIgnoringCase(const char* text, const std::string& name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    return true;
}

// The longest of `count` names (full or abbreviated: strftime `full` and
// `abbreviated` of the tm that `set` makes for each index) at `text`, its
// index in `index`. Like strptime, either form is taken for either field.
template <typename Set>
const char* ReadName(const char* text, const char* full, const char* abbreviated, int count, Set set, int& index) {
    std::size_t best = 0;
    for (int i = 0; i < count; ++i) {
        std::tm probe{};
        probe.tm_mday = 1;
        set(probe, i);
        for (const char* format : {full, abbreviated}) {
            const std::string name = Formatted(format, probe);
            if (name.size() > best && StartsWithIgnoringCase(text, name)) {
                best = name.size();
                index = i;
            }
        }
    }
    return best == 0 ? nullptr : text + best;
}

}  // namespace

const char* ReadTimeText(const char* text, const char* format, std::tm& time) {
    int pm = -1;  // -1: no AM/PM mark read
    int value = 0;
    while (text != nullptr && *format != '\0') {
        if (IsBlank(*format)) {
            format = SkipBlanks(format);
            text = SkipBlanks(text);
            continue;
        }
        if (*format != '%') {
            if (*text != *format) return nullptr;
            ++text;
            ++format;
            continue;
        }
        ++format;
        if (*format == '#') ++format;
        switch (*format) {
            case '%':
                text = *text == '%' ? text + 1 : nullptr;
                break;
            case 'Y':
                if ((text = ReadNumber(text, 4, 0, 9999, value))) time.tm_year = value - 1900;
                break;
            case 'y':
                if ((text = ReadNumber(text, 2, 0, 99, value))) time.tm_year = value < 69 ? value + 100 : value;
                break;
            case 'm':
                if ((text = ReadNumber(text, 2, 1, 12, value))) time.tm_mon = value - 1;
                break;
            case 'd':
                if ((text = ReadNumber(text, 2, 1, 31, value))) time.tm_mday = value;
                break;
            case 'H':
                if ((text = ReadNumber(text, 2, 0, 23, value))) time.tm_hour = value;
                break;
            case 'I':
                if ((text = ReadNumber(text, 2, 1, 12, value))) time.tm_hour = value % 12;
                break;
            case 'M':
                if ((text = ReadNumber(text, 2, 0, 59, value))) time.tm_min = value;
                break;
            case 'S':
                if ((text = ReadNumber(text, 2, 0, 61, value))) time.tm_sec = value;
                break;
            case 'B':
            case 'b':
                text = ReadName(SkipBlanks(text), "%B", "%b", 12, [](std::tm& probe, int i) { probe.tm_mon = i; }, value);
                if (text) time.tm_mon = value;
                break;
            case 'A':
            case 'a':
                text = ReadName(SkipBlanks(text), "%A", "%a", 7, [](std::tm& probe, int i) { probe.tm_wday = i; }, value);
                if (text) time.tm_wday = value;
                break;
            case 'p':
                text = ReadName(SkipBlanks(text), "%p", "%p", 2, [](std::tm& probe, int i) { probe.tm_hour = i * 12; }, pm);
                break;
            default:
                return nullptr;
        }
        if (*format != '\0') ++format;
    }
    // As strptime: the mark applies to the 12-hour clock read with it.
    if (text != nullptr && pm == 1 && time.tm_hour < 12) time.tm_hour += 12;
    return text;
}

}  // namespace sorvane::platform
