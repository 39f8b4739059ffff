#pragma once
// The command line of a run, read in two steps: first every argument is
// checked, without effect, so that a careless command line is refused before
// anything is touched; only a command line without fault is then applied.
//
// The rules: each argument is taken as the system hands it over (a tab stays
// a tab, a double quote is part of the value). An option applies only when
// its name starts the argument, letter case included, followed by nothing
// or one separator character that is no letter or digit ("-ndays=30",
// "-ndays:30", "-ndays 30" as one argument), then the value, which runs to
// the argument's end. An argument starting with -pass sets the password and
// nothing else, whatever follows. Arguments made only of blanks and tabs are
// passed over. Refused: an argument that names no option, a value its option
// cannot take, and arguments beyond the 22 the program reads.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/run_log.h"
#include "purge/purge_settings.h"
#include "startup/option_table.h"

namespace sorvane {

// How many arguments a run reads; a further one is refused.
constexpr std::size_t kMostArguments = 22;

// One accepted argument: the option it names and its value.
struct OptionUse {
    const OptionEntry* option;
    std::string value;
};

struct Refusal {
    // One line naming the argument and why it is refused, as in
    //   Refused argument 3, "-ndays": the value of -ndays must be a number
    std::string message;
    // The debug-log line of a rejected -ndays, -delrecpertrip or -timecol
    // value, or empty; written only when -debug came before the argument.
    std::string rejectedValueNote;
    bool debugBefore = false;  // an argument before the refused one is -debug
    bool debugGiven = false;   // -debug is among the arguments
};

struct CommandLineReading {
    std::vector<OptionUse> uses;  // in argument order; empty when refused
    std::optional<Refusal> refusal;
};

// The program's arguments without its own name, exactly as the system
// handed them over.
std::vector<std::string> ArgumentsAsGiven(int argc, const char* const* argv);

// True when some argument holds more than blanks and tabs: a command-line
// run rather than the window.
bool HasCommandLineOptions(const std::vector<std::string>& arguments);

// Checks every argument; changes nothing. Stops at the first refused one.
CommandLineReading ReadCommandLine(const std::vector<std::string>& arguments);

// Applies accepted arguments in their order, calling beforeEach first for
// each when it is set.
void ApplyOptions(const std::vector<OptionUse>& uses, OptionTarget& target,
                  const std::function<void()>& beforeEach = {});

// Both steps at once for callers that treat a refusal as a failure: raises
// RunFailure kInvalidArgument with the refusal's message.
void ReadCommandLineOptions(const std::vector<std::string>& arguments, PurgeSettings& settings, RunLog& log,
                            const ShowManualPage& showManualPage);

// Overwrites the value of every -pass argument with 'x' in the process's own
// argument memory, so that other local users do not read the password in
// /proc/<pid>/cmdline or ps while the run goes on. Call it once the
// arguments have been copied.
void HidePasswordArguments(int argc, char** argv);

}  // namespace sorvane
