#include "purge/cut_off.h"

#include <chrono>
#include <cstdio>
#include <limits>

#include "common/run_failure.h"

namespace sorvane {

std::tm CutOffDay(std::int16_t days, const std::tm& today) {
    const int offset = 1 - static_cast<int>(days);
    if (offset < std::numeric_limits<std::int16_t>::min() ||
        offset > std::numeric_limits<std::int16_t>::max()) {
        throw RunFailure(kOverflow, "Overflow: an age of " + std::to_string(days) +
                                        " days is out of range");
    }
    // Calendar arithmetic on the civil date alone: no time zone or daylight
    // saving change can move the day.
    using namespace std::chrono;
    const year_month_day date{year{today.tm_year + 1900}, month{static_cast<unsigned>(today.tm_mon + 1)},
                              day{static_cast<unsigned>(today.tm_mday)}};
    const year_month_day cutOff{sys_days{date} + std::chrono::days{offset}};
    std::tm midnight{};
    midnight.tm_year = static_cast<int>(cutOff.year()) - 1900;
    midnight.tm_mon = static_cast<int>(static_cast<unsigned>(cutOff.month())) - 1;
    midnight.tm_mday = static_cast<int>(static_cast<unsigned>(cutOff.day()));
    midnight.tm_isdst = -1;
    return midnight;
}

std::string BuildCutOffLiteral(std::int16_t days, const std::tm& today) {
    const std::tm cutOff = CutOffDay(days, today);
    char text[64];
    std::snprintf(text, sizeof text, "{ts '%d-%02d-%02d 00:00:00'}", cutOff.tm_year + 1900, cutOff.tm_mon + 1,
                  cutOff.tm_mday);
    return text;
}

}  // namespace sorvane
