#include <langinfo.h>

#include "common/regional_platform.h"

namespace sorvane::platform {

std::string LocaleShortDateFormat() { return nl_langinfo(D_FMT); }

std::string LocaleLongTimeFormat() { return nl_langinfo(T_FMT); }

}  // namespace sorvane::platform
