#include <langinfo.h>
#include <time.h>

#include "common/regional_platform.h"

namespace sorvane::platform {

std::string LocaleShortDateFormat() { return nl_langinfo(D_FMT); }

std::string LocaleLongTimeFormat() { return nl_langinfo(T_FMT); }

const char* ReadTimeText(const char* text, const char* format, std::tm& time) {
    return strptime(text, format, &time);
}

}  // namespace sorvane::platform
