#pragma once
// Opens the main window for a start without arguments and runs the event loop
// until the program ends. Returns the exit status.

namespace sorvane {

int RunWindowApplication(int& argc, char** argv);

}  // namespace sorvane
