#pragma once
// Conversions of option values typed on the command line. Each answers
// "cannot take it" with no result, so that the command line can be refused
// as a whole before anything runs.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "purge/purge_settings.h"

namespace sorvane {

// The whole text reads as one number under the locale's rules (blanks
// around it, a sign, a decimal part and an exponent allowed; empty is none).
bool ReadsAsNumber(const std::string& text);

// The largest whole number not above the text's number (7.9 gives 7, -2.5
// gives -3), when the text reads as a number and that fits -32768..32767.
std::optional<std::int16_t> WholeNumber16(const std::string& text);
// The same for -2147483648..2147483647 (the batch width).
std::optional<std::int32_t> WholeNumber32(const std::string& text);

// true/false in any letter case, or any number (0 is false); no result for
// anything else, the empty text included.
std::optional<Bool16> Boolean16(const std::string& text);

}  // namespace sorvane
