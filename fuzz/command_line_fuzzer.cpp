// Feeds arbitrary command-line text through the tokenizer and the option
// table. A crash, an exception other than the program's own RunFailure, a
// sanitizer report or a broken property below is a finding.
//
// Input: the first byte, read as a signed number, is the maximum handed to
// SplitCommandLine; the rest is the raw command-line text.

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "purge/purge_settings.h"
#include "common/run_failure.h"
#include "startup/command_line_options.h"
#include "common/reporting.h"
#include "startup/split_command_line.h"

namespace {

using sorvane::PurgeSettings;

// Far above any argument count an input of libFuzzer's length can produce,
// so splitting with it shows every argument of the text.
constexpr std::int16_t kNoCap = 32767;

[[noreturn]] void Fail(const char* property) {
    std::fprintf(stderr, "command_line_fuzzer: property broken: %s\n", property);
    std::abort();
}

void Require(bool holds, const char* property) {
    if (!holds) Fail(property);
}

bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }

// What the arguments must add up to, worked out without their boundaries:
// quotes vanish, unquoted blanks and tabs vanish, quoted ones become one blank
// each, every other character stays.
std::string KeptCharacters(const std::string& text) {
    std::string kept;
    bool inQuotes = false;
    for (const char c : text) {
        if (c == '"') {
            inQuotes = !inQuotes;
        } else if (!IsBlankOrTab(c)) {
            kept += c;
        } else if (inQuotes) {
            kept += ' ';
        }
    }
    return kept;
}

void CheckSlots(const std::vector<std::string>& slots, std::size_t cap) {
    Require(!slots.empty(), "slot 0 always exists");
    Require(slots.size() - 1 <= cap, "no more arguments than the maximum");
    Require(slots[0].find_first_not_of(' ') == std::string::npos, "slot 0 holds only quoted blanks");
    for (std::size_t i = 1; i < slots.size(); ++i) {
        const std::string& argument = slots[i];
        Require(!argument.empty(), "no argument is empty");
        Require(argument[0] != ' ', "an argument never begins with a blank");
        Require(argument.find_first_of("\t\"") == std::string::npos,
                "no argument holds a tab or a double quote");
    }
}

void CheckTokenizer(const std::string& text, std::optional<std::int16_t> maximum) {
    const std::vector<std::string> all = sorvane::SplitCommandLine(text, kNoCap);
    CheckSlots(all, static_cast<std::size_t>(kNoCap));
    if (all.size() - 1 == static_cast<std::size_t>(kNoCap)) return;  // input too large to reason about

    std::string joined;
    for (const std::string& slot : all) joined += slot;
    Require(joined == KeptCharacters(text), "the arguments hold every kept character, in order");

    // A cap keeps the leading arguments whole and drops the rest.
    const std::int16_t capValue = maximum.value_or(sorvane::kDefaultMaximumArguments);
    const std::size_t cap = static_cast<std::size_t>(capValue < 0 ? 0 : capValue);
    const std::vector<std::string> capped = sorvane::SplitCommandLine(text, maximum);
    CheckSlots(capped, cap);
    Require(capped.size() == std::min(all.size(), cap + 1), "the cap keeps min(N, maximum) arguments");
    for (std::size_t i = 0; i < capped.size(); ++i) {
        Require(capped[i] == all[i], "a capped argument equals the uncapped one");
    }

    // The arguments joined back into one text (as Linux start-up does with
    // argv) split into the same arguments. argv cannot carry a NUL.
    if (text.find('\0') != std::string::npos) return;
    std::vector<const char*> argv{"sorvane"};
    for (std::size_t i = 1; i < all.size(); ++i) argv.push_back(all[i].c_str());
    const std::vector<std::string> again = sorvane::SplitCommandLine(
        sorvane::BuildRawCommandLine(static_cast<int>(argv.size()), argv.data()), kNoCap);
    Require(again.size() == all.size(), "rejoined arguments split into as many");
    Require(again[0].empty(), "rejoined arguments leave slot 0 empty");
    for (std::size_t i = 1; i < all.size(); ++i) {
        Require(again[i] == all[i], "rejoined arguments split back unchanged");
    }
}

// The option table on every argument: a RunFailure is its answer to a bad
// value; anything else escaping it is a finding. Which field an option sets
// is shown by the command-line tests.
void ApplyOptionTable(const std::vector<std::string>& slots) {
    PurgeSettings settings;
    for (const std::string& argument : slots) {
        // A new log for each argument: no debug.log is ever written into the
        // folder the fuzzer runs in, since -debug turns it on last.
        sorvane::RunLog log;
        try {
            sorvane::ApplyCommandLineArgument(argument, settings, log, [] {});
        } catch (const sorvane::RunFailure& failure) {
            Require(failure.Number() == sorvane::kOverflow || failure.Number() == sorvane::kTypeMismatch,
                    "the option table raises only overflow and type mismatch");
        }
        Require(log.DebugEnabled() == (argument.find("-debug") != std::string::npos),
                "only -debug turns the debug log on");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Numbers are read under the user's regional settings, as in the program.
    std::setlocale(LC_ALL, "");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<std::int16_t> maximum;
    std::string text;
    if (size > 0) {
        maximum = static_cast<std::int8_t>(data[0]);
        text.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    }
    CheckTokenizer(text, maximum);
    CheckTokenizer(text, std::nullopt);
    ApplyOptionTable(sorvane::SplitCommandLine(text));
    return 0;
}
