#pragma once
// Conversions of option values typed on the command line.

#include <cstdint>
#include <optional>
#include <string>

#include "purge/purge_settings.h"

namespace sorvane {

// The value of an option: the rest of the argument from the character after
// the name and one separator, wherever the name stands in the argument.
// Empty when the argument is no longer than the name plus one character.
std::string OptionValue(const std::string& argument, const std::string& optionName);

// A whole number for a 16-bit field: no result when the text is no number
// under the locale's rules; otherwise the largest whole number not above it.
// Raises RunFailure kOverflow when that falls outside -32768..32767.
std::optional<std::int16_t> ReadWholeNumber16(const std::string& text, const std::string& optionName);

// true/false in any letter case, or any number (0 is false). Anything else,
// the empty text included, raises RunFailure kTypeMismatch.
Bool16 ConvertToBool16(const std::string& text, const std::string& optionName);

}  // namespace sorvane
