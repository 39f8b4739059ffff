#include "startup/option_values.h"

#include <cmath>

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

std::optional<double> Number(const std::string& text) {
    const std::optional<double> number = ReadNumber(text);
    if (!number || std::isnan(*number)) return std::nullopt;
    return number;
}

}  // namespace

bool ReadsAsNumber(const std::string& text) { return Number(text).has_value(); }

std::optional<std::int16_t> WholeNumber16(const std::string& text) {
    const std::optional<double> number = Number(text);
    if (!number) return std::nullopt;
    const double whole = std::floor(*number);
    // Written so that an infinite reading also counts as out of range.
    if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

std::optional<Bool16> Boolean16(const std::string& text) {
    if (EqualsIgnoringCase(text, "true")) return kTrue16;
    if (EqualsIgnoringCase(text, "false")) return kFalse16;
    const std::optional<double> number = Number(text);
    if (!number) return std::nullopt;
    return *number != 0.0 ? kTrue16 : kFalse16;
}

}  // namespace sorvane
