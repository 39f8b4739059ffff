#include "purge/read_id.h"

#include <charconv>

#include "common/run_failure.h"

namespace sorvane {

std::int64_t ReadId(const std::string& text, const char* which) {
    std::string digits = text;
    const std::size_t point = digits.find('.');
    if (point != std::string::npos && digits.find_first_not_of('0', point + 1) == std::string::npos) {
        digits.erase(point);
    }
    std::int64_t value = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range) {
        throw RunFailure(kOverflow, std::string("Overflow: the ") + which + " id " + text +
                                        " does not fit a 64-bit integer");
    }
    if (error != std::errc() || end != last || first == last) {
        throw RunFailure(kTypeMismatch, std::string("Type mismatch: the ") + which + " id \"" + text +
                                            "\" is not a whole number");
    }
    return value;
}

}  // namespace sorvane
