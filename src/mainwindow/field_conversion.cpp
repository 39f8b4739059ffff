#include "mainwindow/field_conversion.h"

#include <cmath>

#include "common/run_failure.h"
#include "common/regional.h"

namespace sorvane {

const char* const kTypeMismatchDescription = "Typen unverträglich";

namespace {

double ConvertToWholeNumber(const std::string& text, double lowest, double highest) {
    const std::optional<double> number = ReadNumber(text);
    if (!number || std::isnan(*number)) throw RunFailure(kTypeMismatch, kTypeMismatchDescription);

    // Rounding comes before the range check, so 32767.4 still fits a 16-bit
    // field and -32768.5 rounds to the even -32768.
    const double whole = std::nearbyint(*number);  // default rounding: half to even
    if (!(whole >= lowest && whole <= highest)) throw RunFailure(kOverflow, "Overflow");
    return whole;
}

}  // namespace

std::int16_t ConvertToInteger16(const std::string& text) {
    return static_cast<std::int16_t>(ConvertToWholeNumber(text, -32768.0, 32767.0));
}

std::int32_t ConvertToInteger32(const std::string& text) {
    return static_cast<std::int32_t>(ConvertToWholeNumber(text, -2147483648.0, 2147483647.0));
}

}  // namespace sorvane
