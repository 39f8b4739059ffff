#include "startup/command_line_options.h"

#include <cstdio>
#include <cstring>

#include "common/run_failure.h"
#include "startup/option_values.h"

namespace sorvane {

namespace {

constexpr const char* kPasswordOption = "-pass";
constexpr std::size_t kLongestArgumentShown = 200;

bool IsPasswordArgument(const char* argument) {
    return std::strncmp(argument, kPasswordOption, std::strlen(kPasswordOption)) == 0;
}

bool IsBlank(const std::string& argument) { return argument.find_first_not_of(" \t") == std::string::npos; }

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The argument as it can stand in one line of the system log: control
// characters written as escapes, a long one cut.
std::string Shown(const std::string& argument) {
    std::string shown;
    for (const char c : argument.substr(0, kLongestArgumentShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t') {
            shown += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    if (argument.size() > kLongestArgumentShown) shown += "...";
    return shown;
}

struct ValueProblem {
    std::string reason;
    bool noteApplies;  // the option's debug-log line for a rejected value fits
};

// Why `value` does not suit `option`, or nothing when it does.
std::optional<ValueProblem> ProblemWithValue(const OptionEntry& option, const std::string& value) {
    const std::string valueOf = "the value of " + std::string(option.name);
    switch (option.kind) {
    case OptionValueKind::None:
    case OptionValueKind::Text:
    case OptionValueKind::Secret:
        return std::nullopt;
    case OptionValueKind::WholeNumber:
        if (!ReadsAsNumber(value)) return ValueProblem{valueOf + " must be a number", true};
        if (!WholeNumber16(value)) return ValueProblem{valueOf + " must lie between -32768 and 32767", false};
        return std::nullopt;
    case OptionValueKind::WholeNumber32:
        if (!ReadsAsNumber(value)) return ValueProblem{valueOf + " must be a number", true};
        if (!WholeNumber32(value)) {
            return ValueProblem{valueOf + " must lie between -2147483648 and 2147483647", false};
        }
        return std::nullopt;
    case OptionValueKind::Boolean:
        if (Boolean16(value)) return std::nullopt;
        return ValueProblem{valueOf + " must be true, false or a number", false};
    case OptionValueKind::Number:
        if (ReadsAsNumber(value)) return std::nullopt;
        return ValueProblem{valueOf + " must be a number (1 is on)", false};
    case OptionValueKind::FileName:
        if (!value.empty()) return std::nullopt;
        return ValueProblem{valueOf + " must name a file, as in " + std::string(option.name) + "=FILE", false};
    case OptionValueKind::TimeColumn:
        if (value == "ReceivedAt" || value == "DeviceReportedTime") return std::nullopt;
        return ValueProblem{valueOf + " must be ReceivedAt or DeviceReportedTime, in that letter case", true};
    }
    return std::nullopt;
}

// Reads one argument into `use`, or says why it is refused.
std::optional<ValueProblem> ReadArgument(const std::string& argument, OptionUse& use) {
    const OptionEntry* option = OptionStartingArgument(argument);
    if (option == nullptr) {
        return ValueProblem{"it names no option (option names start the argument; letter case matters)", false};
    }
    use.option = option;
    const std::size_t nameLength = option->name.size();
    const std::string name(option->name);
    if (option->kind == OptionValueKind::None) {
        if (argument.size() == nameLength) return std::nullopt;
        return ValueProblem{name + " takes no value", false};
    }
    // The password keeps its own rule: any one character after the name
    // separates the value.
    if (option->kind != OptionValueKind::Secret && argument.size() > nameLength &&
        IsLetterOrDigit(argument[nameLength])) {
        return ValueProblem{name + " must be followed by one separator character, such as =, and its value", false};
    }
    use.value = argument.size() > nameLength + 1 ? argument.substr(nameLength + 1) : std::string();
    return ProblemWithValue(*option, use.value);
}

}  // namespace

std::vector<std::string> ArgumentsAsGiven(int argc, const char* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    return arguments;
}

bool HasCommandLineOptions(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (!IsBlank(argument)) return true;
    }
    return false;
}

CommandLineReading ReadCommandLine(const std::vector<std::string>& arguments) {
    CommandLineReading reading;
    bool debugBefore = false;
    bool afterEmptyPassword = false;  // the argument before was -pass with no value
    std::size_t read = 0;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (IsBlank(argument)) continue;
        OptionUse use{nullptr, {}};
        std::optional<ValueProblem> problem;
        if (++read > kMostArguments) {
            problem = ValueProblem{"the program reads at most " + std::to_string(kMostArguments) + " arguments", false};
        } else {
            problem = ReadArgument(argument, use);
        }
        if (problem) {
            Refusal refusal;
            // "-pass secret" typed as two arguments: the second is the
            // password, which no log may show.
            const std::string what = afterEmptyPassword
                                         ? " (not shown: it may be the password meant for the -pass before it)"
                                         : ", \"" + Shown(argument) + "\"";
            refusal.message = "Refused argument " + std::to_string(index + 1) + what + ": " + problem->reason;
            if (problem->noteApplies) refusal.rejectedValueNote = std::string(use.option->rejectedValueNote);
            refusal.debugBefore = debugBefore;
            for (const std::string& any : arguments) refusal.debugGiven = refusal.debugGiven || any == "-debug";
            reading.uses.clear();
            reading.refusal = std::move(refusal);
            return reading;
        }
        debugBefore = debugBefore || use.option->name == "-debug";
        afterEmptyPassword = use.option->kind == OptionValueKind::Secret && use.value.empty();
        reading.uses.push_back(std::move(use));
    }
    return reading;
}

void ApplyOptions(const std::vector<OptionUse>& uses, OptionTarget& target, const std::function<void()>& beforeEach) {
    for (const OptionUse& use : uses) {
        if (beforeEach) beforeEach();
        use.option->apply(target, use.value);
    }
}

void ReadCommandLineOptions(const std::vector<std::string>& arguments, PurgeSettings& settings, RunLog& log,
                            const ShowManualPage& showManualPage) {
    const CommandLineReading reading = ReadCommandLine(arguments);
    if (reading.refusal) throw RunFailure(kInvalidArgument, reading.refusal->message);
    LongOptions longOptions;
    OptionTarget target{settings, longOptions, log, showManualPage};
    ApplyOptions(reading.uses, target);
}

void HidePasswordArguments(int argc, char** argv) {
    const std::size_t valueStart = std::strlen(kPasswordOption) + 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr || !IsPasswordArgument(argv[i])) continue;
        const std::size_t length = std::strlen(argv[i]);
        for (std::size_t j = valueStart; j < length; ++j) argv[i][j] = 'x';
    }
}

}  // namespace sorvane
