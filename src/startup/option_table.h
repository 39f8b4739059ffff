#pragma once
// Every option a command-line run accepts: its name, what its value may be
// and what it sets. Adding an option, a long one such as --name=VALUE
// included, is one line of the table in option_table.cpp.

#include <functional>
#include <string>
#include <string_view>

#include "common/run_log.h"
#include "purge/purge_settings.h"
#include "startup/long_options.h"

namespace sorvane {

// Called for -h and for -help.
using ShowManualPage = std::function<void()>;

// What the options of one run set.
struct OptionTarget {
    PurgeSettings& settings;
    LongOptions& longOptions;
    RunLog& log;
    const ShowManualPage& showManualPage;
};

enum class OptionValueKind {
    None,         // nothing may follow the name (-debug, -h)
    Text,         // any text, the empty text included
    Secret,       // any text after any one separator character (-pass); never shown
    WholeNumber,  // a number, cut down to a whole number of 16 bits
    WholeNumber32,  // a number, cut down to a whole number of 32 bits
    Boolean,      // true or false in any letter case, or a number
    Number,       // a number, kept as typed (-includedate, -overwrite)
    TimeColumn,   // ReceivedAt or DeviceReportedTime, in that letter case
    FileName,     // any text but the empty one
};

struct OptionEntry {
    std::string_view name;
    OptionValueKind kind;
    // Sets the option's field; runs only with a value the kind accepts.
    void (*apply)(OptionTarget& target, const std::string& value);
    // The debug-log line written when the value is refused for not being a
    // number or name at all (a number out of range has none); may be empty.
    std::string_view rejectedValueNote = {};
};

// The option whose name starts `argument` (letter case matters); the longest
// such name when several do, so -help is not taken for -h. None when no
// name starts it.
const OptionEntry* OptionStartingArgument(std::string_view argument);

}  // namespace sorvane
