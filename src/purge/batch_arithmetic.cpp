#include "purge/batch_arithmetic.h"

#include <cstdio>
#include <limits>

#include "common/run_failure.h"

namespace sorvane {

std::int32_t BatchLowerBound(std::int32_t batchTop, std::int32_t batchWidth) {
    const std::int64_t lower = static_cast<std::int64_t>(batchTop) - batchWidth;
    if (lower < std::numeric_limits<std::int32_t>::min() ||
        lower > std::numeric_limits<std::int32_t>::max()) {
        throw RunFailure(kOverflow, "Overflow: the batch below id " + std::to_string(batchTop) +
                                        " reaches outside the 32-bit id range");
    }
    return static_cast<std::int32_t>(lower);
}

std::int64_t BatchesAbove(std::int32_t batchTop, std::int32_t batchWidth, std::int32_t id) {
    return (static_cast<std::int64_t>(batchTop) - id) / batchWidth;
}

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
