#pragma once
// The program's arguments as UTF-8 text, without its own name.

#include <string>
#include <vector>

namespace sorvane {

// On Linux the arguments as the system handed them over (see
// ArgumentsAsGiven); on Windows read from the UTF-16 command line, so that
// folder and file names in any script survive.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace sorvane
