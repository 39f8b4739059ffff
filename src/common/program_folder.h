#pragma once
// The folder that holds the running program, where its manual page may lie.

#include <filesystem>

namespace sorvane {

// Empty when the system cannot say.
std::filesystem::path ProgramFolder();

}  // namespace sorvane
