#pragma once
// The window's conversion of a field's text to a 16- or 32-bit whole number.

#include <cstdint>
#include <string>

namespace sorvane {

// The text read as a number in the system's number format, rounded to the
// nearest whole number (a half goes to the even neighbour). Raises
// RunFailure(kTypeMismatch, "Typen unverträglich") for a text that is not a
// number (the empty text included) and RunFailure(kOverflow, "Overflow") for
// a result outside -32768 to 32767.
std::int16_t ConvertToInteger16(const std::string& text);
// The same for a 32-bit field (the batch width): -2147483648 to 2147483647.
std::int32_t ConvertToInteger32(const std::string& text);

// The description the window's failure trap recognises as "not a number".
extern const char* const kTypeMismatchDescription;

}  // namespace sorvane
