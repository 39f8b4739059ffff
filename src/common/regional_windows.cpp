// The user's short date and long time pictures of the Windows regional
// settings ("dd.MM.yyyy", "h:mm:ss tt"), turned into the strftime formats of
// the C runtime. Its '#' flag drops a leading zero where the picture has a
// single letter; seconds and minutes keep theirs, so that a fraction of a
// second can follow the seconds as on every platform.

#include <windows.h>

#include "common/regional_platform.h"

namespace sorvane::platform {

namespace {

std::string LocaleText(LCTYPE item) {
    char buffer[128];
    const int length = GetLocaleInfo(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, static_cast<std::size_t>(length - 1)) : std::string();
}

// The strftime form of a run of `count` letters `letter`, or nullptr for a
// letter that is no field.
const char* FieldFormat(char letter, std::size_t count) {
    switch (letter) {
        case 'y': return count >= 3 ? "%Y" : "%y";
        case 'M': return count >= 4 ? "%B" : count == 3 ? "%b" : count == 2 ? "%m" : "%#m";
        case 'd': return count >= 4 ? "%A" : count == 3 ? "%a" : count == 2 ? "%d" : "%#d";
        case 'H': return count >= 2 ? "%H" : "%#H";
        case 'h': return count >= 2 ? "%I" : "%#I";
        case 'm': return "%M";
        case 's': return "%S";
        case 't': return "%p";
        case 'g': return "";  // the era: none in the Gregorian calendar
        default: return nullptr;
    }
}

std::string StrftimeFormatOf(const std::string& picture) {
    std::string format;
    for (std::size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            // A quoted literal; '' inside stands for one quote.
            std::size_t j = i + 1;
            for (; j < picture.size(); ++j) {
                if (picture[j] != '\'') {
                    format += picture[j] == '%' ? "%%" : std::string(1, picture[j]);
                } else if (j + 1 < picture.size() && picture[j + 1] == '\'') {
                    format += '\'';
                    ++j;
                } else {
                    break;
                }
            }
            i = j + 1;
            continue;
        }
        std::size_t count = 1;
        while (i + count < picture.size() && picture[i + count] == c) ++count;
        if (const char* field = FieldFormat(c, count)) {
            format += field;
        } else {
            for (std::size_t k = 0; k < count; ++k) format += c == '%' ? "%%" : std::string(1, c);
        }
        i += count;
    }
    return format;
}

}  // namespace

std::string LocaleShortDateFormat() { return StrftimeFormatOf(LocaleText(LOCALE_SSHORTDATE)); }

std::string LocaleLongTimeFormat() { return StrftimeFormatOf(LocaleText(LOCALE_STIMEFORMAT)); }

}  // namespace sorvane::platform
