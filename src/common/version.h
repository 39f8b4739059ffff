#pragma once
// The program's version, set once in the top CMakeLists.txt (project VERSION).

namespace sorvane {

constexpr const char* kProgramVersion = SORVANE_VERSION;

}  // namespace sorvane
