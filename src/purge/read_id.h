#pragma once
// An id as the database gives it in text, read as a 64-bit integer.

#include <cstdint>
#include <string>

namespace sorvane {

// Whole numbers written with a zero fraction ("125.0", as a REAL id column
// gives) are accepted. Raises RunFailure kOverflow for a whole number outside
// the 64-bit range and kTypeMismatch for anything that is no whole number;
// `which` ("lowest", "highest") names the id in the description.
std::int64_t ReadId(const std::string& text, const char* which);

}  // namespace sorvane
