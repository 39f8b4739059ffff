// The C runtime's argv holds the command line in the ANSI code page, which
// loses every character outside it; the UTF-16 command line keeps them.
// CommandLineToArgvW splits it by the same rules as the runtime.

#include <windows.h>
#include <shellapi.h>

#include "common/windows_text.h"
#include "startup/command_line_options.h"
#include "startup/program_arguments.h"

namespace sorvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return ArgumentsAsGiven(argc, argv);
    std::vector<std::string> arguments;
    // Where the two splittings disagree on the count, the runtime's stands.
    if (count == argc) {
        for (int index = 1; index < count; ++index) arguments.push_back(windows::Utf8FromWide(wide[index]));
    }
    LocalFree(wide);
    return count == argc ? arguments : ArgumentsAsGiven(argc, argv);
}

}  // namespace sorvane
