#include "startup/split_command_line.h"

#include <algorithm>

namespace sorvane {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& rawText,
                                          std::optional<std::int16_t> maximum) {
    const std::size_t cap = static_cast<std::size_t>(
        std::max<std::int16_t>(0, maximum.value_or(kDefaultMaximumArguments)));

    std::vector<std::string> slots(1);
    bool inArgument = false;
    bool inQuotes = false;

    for (const char c : rawText) {
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!IsSeparator(c)) {
            if (!inArgument) {
                // The cap bites only when a further argument would begin: the
                // argument that reached it is kept whole.
                if (slots.size() - 1 == cap) break;
                slots.emplace_back();
                inArgument = true;
            }
            slots.back() += c;
        } else if (inQuotes) {
            // Quoted blanks never start an argument; they extend the most
            // recent one, which is slot 0 before the first argument.
            slots.back() += ' ';
        } else {
            inArgument = false;
        }
    }
    return slots;
}

std::string BuildRawCommandLine(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i] != nullptr ? argv[i] : "";
        if (i > 1) text += ' ';
        if (argument.find_first_of(" \t") != std::string::npos) {
            text += '"';
            text += argument;
            text += '"';
        } else {
            text += argument;
        }
    }
    return text;
}

}  // namespace sorvane
