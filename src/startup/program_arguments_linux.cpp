#include "startup/program_arguments.h"

#include "startup/command_line_options.h"

namespace sorvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return ArgumentsAsGiven(argc, argv); }

}  // namespace sorvane
