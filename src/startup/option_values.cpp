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

std::optional<std::int64_t> WholeNumberWithin(const std::string& text, std::int64_t lowest, std::int64_t highest) {
    const std::optional<double> number = Number(text);
    if (!number) return std::nullopt;
    const double whole = std::floor(*number);
    // Written so that an infinite reading also counts as out of range.
    if (!(whole >= static_cast<double>(lowest) && whole <= static_cast<double>(highest))) return std::nullopt;
    return static_cast<std::int64_t>(whole);
}

std::optional<std::int16_t> WholeNumber16(const std::string& text) {
    const std::optional<std::int64_t> whole = WholeNumberWithin(text, -32768, 32767);
    if (!whole) return std::nullopt;
    return static_cast<std::int16_t>(*whole);
}

std::optional<std::int32_t> WholeNumber32(const std::string& text) {
    const std::optional<std::int64_t> whole = WholeNumberWithin(text, -2147483648LL, 2147483647LL);
    if (!whole) return std::nullopt;
    return static_cast<std::int32_t>(*whole);
}

std::optional<Bool16> Boolean16(const std::string& text) {
    if (EqualsIgnoringCase(text, "true")) return kTrue16;
    if (EqualsIgnoringCase(text, "false")) return kFalse16;
    const std::optional<double> number = Number(text);
    if (!number) return std::nullopt;
    return *number != 0.0 ? kTrue16 : kFalse16;
}

}  // namespace sorvane
