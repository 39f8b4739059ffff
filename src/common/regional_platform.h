#pragma once
// The locale's own date and time forms, as strftime formats. One
// implementation per platform.

#include <ctime>
#include <string>

namespace sorvane::platform {

// Empty when the locale gives none.
std::string LocaleShortDateFormat();
std::string LocaleLongTimeFormat();

// Reads `text` by the strftime `format` into `time` as strptime does (blanks
// in the format match any run of blanks, numbers may have leading blanks,
// names are the locale's): what is left of the text, or nullptr when it does
// not fit.
const char* ReadTimeText(const char* text, const char* format, std::tm& time);

}  // namespace sorvane::platform
