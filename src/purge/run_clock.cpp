#include "purge/run_clock.h"

namespace sorvane {

std::time_t RunClock::Now() const { return std::time(nullptr); }

const RunClock& SystemRunClock() {
    static const RunClock clock;
    return clock;
}

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace sorvane
