#pragma once
// The locale's own date and time forms, as strftime formats. One
// implementation per platform.

#include <string>

namespace sorvane::platform {

// Empty when the locale gives none.
std::string LocaleShortDateFormat();
std::string LocaleLongTimeFormat();

}  // namespace sorvane::platform
