#pragma once
// The cut-off of a run: midnight at the start of the day that lies days - 1
// days before today, as an ODBC timestamp escape.

#include <cstdint>
#include <ctime>
#include <string>

namespace sorvane {

// "{ts 'Y-MM-DD 00:00:00'}" for `today` + (1 - days) days. 1 - days is taken
// in 16-bit arithmetic as the setting is 16-bit: an age whose difference does
// not fit raises RunFailure kOverflow.
std::string BuildCutOffLiteral(std::int16_t days, const std::tm& today);

// The same day as a local time at midnight (tm_isdst -1, ready for mktime).
std::tm CutOffDay(std::int16_t days, const std::tm& today);

}  // namespace sorvane
