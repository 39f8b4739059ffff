#pragma once
// Conversions of option values typed on the command line.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "purge/purge_settings.h"

namespace sorvane {

// The value of an option: the rest of the argument from the character after
// the name and one separator, wherever the name stands in the argument.
// Empty when the argument is no longer than the name plus one character.
std::string OptionValue(const std::string& argument, const std::string& optionName);

// A whole number for a field of type Whole (16 or 32 bits): no result when
// the text is no number under the locale's rules; otherwise the largest whole
// number not above it. Raises RunFailure kOverflow when that falls outside
// the field's range.
std::optional<double> ReadWholeNumberInRange(const std::string& text, const std::string& optionName,
                                             double lowest, double highest);
template <typename Whole>
std::optional<Whole> ReadWholeNumber(const std::string& text, const std::string& optionName) {
    const std::optional<double> whole = ReadWholeNumberInRange(
        text, optionName, std::numeric_limits<Whole>::min(), std::numeric_limits<Whole>::max());
    if (!whole) return std::nullopt;
    return static_cast<Whole>(*whole);
}

// true/false in any letter case, or any number (0 is false). Anything else,
// the empty text included, raises RunFailure kTypeMismatch.
Bool16 ConvertToBool16(const std::string& text, const std::string& optionName);

}  // namespace sorvane
