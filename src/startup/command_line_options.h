#pragma once
// The option table of a command-line run: which argument sets which field of
// the purge settings.

#include <functional>
#include <string>
#include <vector>

#include "common/run_log.h"
#include "purge/purge_settings.h"

namespace sorvane {

// Called for every argument that contains "-h" (so -h, -help, and also a
// value such as -dsn=my-host).
using ShowManualPage = std::function<void()>;

// An argument that starts with -pass sets the password and nothing else.
// Every other argument runs every check of the option table, in table order.
// An option applies when its name occurs anywhere in the argument (letter case
// matters); its value is read from the fixed position after the name and one
// separator. Raises RunFailure for a 16-bit overflow of -ndays/-delrecpertrip
// and for a -backup/-delete value that is no boolean; -debug turns on the
// debug log of `log`, which also takes the notes on rejected values.
void ApplyCommandLineArgument(const std::string& argument, PurgeSettings& settings, RunLog& log,
                              const ShowManualPage& showManualPage);

// Overwrites the value of every -pass argument with 'x' in the process's own
// argument memory, so that other local users do not read the password in
// /proc/<pid>/cmdline or ps while the run goes on. Call it once the
// arguments have been copied.
void HidePasswordArguments(int argc, char** argv);

// Applies every slot of argumentList (slot 0 included) in order, calling
// beforeEachArgument first for each when it is set.
void ReadCommandLineOptions(const std::vector<std::string>& argumentList, PurgeSettings& settings,
                            RunLog& log, const ShowManualPage& showManualPage,
                            const std::function<void()>& beforeEachArgument = {});

}  // namespace sorvane
