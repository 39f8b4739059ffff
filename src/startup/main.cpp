// The program's entry point: a window when started without options, one
// purge run when started with them. The exit status of a command-line run is
// documented in startup/startup.h and in the manual page.

#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "purge/purge_host.h"
#include "startup/split_command_line.h"
#include "startup/startup.h"
#include "startup/stdout_manual_page_sink.h"

#ifdef SORVANE_WITH_GUI
#include "mainwindow/main_window_entry.h"
#endif

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");

    const std::vector<std::string> argumentList =
        sorvane::SplitCommandLine(sorvane::BuildRawCommandLine(argc, argv));

    if (argumentList.size() <= 1) {
#ifdef SORVANE_WITH_GUI
        return sorvane::RunWindowApplication(argc, argv);
#else
        std::cerr << "sorvane: this build has no window; give the purge options on the command line "
                     "(sorvane -h shows the manual page)\n";
        return sorvane::kExitDsnMissing;
#endif
    }

    sorvane::StdoutManualPageSink manual;
    sorvane::PurgeHost host;
    return sorvane::RunStartup(argumentList, manual, host);
}
