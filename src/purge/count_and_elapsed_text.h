#pragma once
// The batch counter and the run's elapsed time as the status texts and the
// summary line show them.

#include <cstdint>
#include <string>

namespace sorvane {

// A count in signed form: a blank before a number of 0 or more, a minus sign
// before a negative one (" 30", "-5").
std::string FormatSignedCount(std::int64_t count);

// A span as "hh:mm:ss" of its time of day: whole days are dropped.
std::string FormatElapsed(std::int64_t seconds);

}  // namespace sorvane
