#include "startup/option_values.h"

#include <cmath>

#include "common/run_failure.h"
#include "common/regional.h"

namespace sorvane {

namespace {

bool EqualsIgnoringCase(const std::string& text, const std::string& lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != lowerWord[i]) return false;
    }
    return true;
}

}  // namespace

std::string OptionValue(const std::string& argument, const std::string& optionName) {
    const std::size_t start = optionName.size() + 1;
    return argument.size() > start ? argument.substr(start) : std::string();
}

std::optional<double> ReadWholeNumberInRange(const std::string& text, const std::string& optionName,
                                             double lowest, double highest) {
    const std::optional<double> number = ReadNumber(text);
    if (!number || std::isnan(*number)) return std::nullopt;
    const double whole = std::floor(*number);
    // Written so that an infinite reading also counts as out of range.
    if (!(whole >= lowest && whole <= highest)) {
        throw RunFailure(kOverflow, "The value of " + optionName + " (" + text + ") is outside the range " +
                                        std::to_string(static_cast<long long>(lowest)) + " to " +
                                        std::to_string(static_cast<long long>(highest)));
    }
    return whole;
}

Bool16 ConvertToBool16(const std::string& text, const std::string& optionName) {
    if (EqualsIgnoringCase(text, "true")) return kTrue16;
    if (EqualsIgnoringCase(text, "false")) return kFalse16;
    const std::optional<double> number = ReadNumber(text);
    if (number && !std::isnan(*number)) return *number != 0.0 ? kTrue16 : kFalse16;
    throw RunFailure(kTypeMismatch, "The value of " + optionName + " must be true, false or a number, not \"" +
                                        text + "\"");
}

}  // namespace sorvane
