#include "mainwindow/field_conversion.h"

#include <cmath>

#include "common/run_failure.h"
#include "common/regional.h"

namespace sorvane {

const char* const kTypeMismatchDescription = "Typen unverträglich";

std::int16_t ConvertToInteger16(const std::string& text) {
    const std::optional<double> number = ReadNumber(text);
    if (!number || std::isnan(*number)) throw RunFailure(kTypeMismatch, kTypeMismatchDescription);

    // Rounding comes before the range check, so 32767.4 still fits and
    // -32768.5 rounds to the even -32768.
    const double whole = std::nearbyint(*number);  // default rounding: half to even
    if (!(whole >= -32768.0 && whole <= 32767.0)) throw RunFailure(kOverflow, "Overflow");
    return static_cast<std::int16_t>(whole);
}

}  // namespace sorvane
