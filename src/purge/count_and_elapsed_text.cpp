#include "purge/count_and_elapsed_text.h"

#include <cstdio>

namespace sorvane {

std::string FormatSignedCount(std::int64_t count) {
    return (count >= 0 ? " " : "") + std::to_string(count);
}

std::string FormatElapsed(std::int64_t seconds) {
    constexpr std::int64_t kDay = 24 * 60 * 60;
    // A clock set back during the run gives a negative span; read it as the
    // time of day it would show rather than as nonsense.
    const std::int64_t ofDay = ((seconds % kDay) + kDay) % kDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(ofDay / 3600),
                  static_cast<int>(ofDay / 60 % 60), static_cast<int>(ofDay % 60));
    return text;
}

}  // namespace sorvane
