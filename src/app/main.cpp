// The program's entry point: a window when started without options, one
// purge run when started with them. The exit status of a command-line run is
// documented in startup/startup.h and in the manual page.

#include <clocale>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/freed_memory.h"
#include "common/version.h"
#include "purge/purge_host.h"
#include "startup/command_line_options.h"
#include "startup/command_line_host.h"
#include "startup/process_signals.h"
#include "startup/program_arguments.h"
#include "startup/standard_error_terminal.h"
#include "startup/echoing_event_log.h"
#include "startup/status_line.h"
#include "startup/startup.h"
#include "startup/stdout_manual_page_sink.h"

#ifdef SORVANE_WITH_GUI
#include "languages_help/display_probe.h"
#include "languages_help/window_manual_page_sink.h"
#include "mainwindow/main_window_entry.h"
#endif

namespace {

int ReportNoWindow() {
#ifdef SORVANE_WITH_GUI
    std::cerr << "sorvane: no display to open the window on; give the purge options on the command line "
                 "(sorvane -h shows the manual page)\n";
#else
    std::cerr << "sorvane: this build has no window; give the purge options on the command line "
                 "(sorvane -h shows the manual page)\n";
#endif
    return sorvane::kExitDsnMissing;
}

// The manual page for -h goes into its window when a display is there, and to
// standard output otherwise; a missing display never ends the program.
std::unique_ptr<sorvane::ManualPageSink> MakeManualPageSink([[maybe_unused]] int& argc,
                                                            [[maybe_unused]] char** argv) {
#ifdef SORVANE_WITH_GUI
    if (auto windowSink = sorvane::MakeWindowManualPageSink(argc, argv)) return windowSink;
#endif
    return std::make_unique<sorvane::StdoutManualPageSink>();
}

// Decides where the manual page goes only when a line arrives, so a run
// without -h never touches the window system.
class ManualPageOnFirstUse : public sorvane::ManualPageSink {
public:
    ManualPageOnFirstUse(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    void AppendLine(const std::string& line) override { Target().AppendLine(line); }
    void Show() override { Target().Show(); }
    void Yield() override {
        if (target_) target_->Yield();
    }
    void WaitUntilClosed() override {
        if (target_) target_->WaitUntilClosed();
    }

private:
    sorvane::ManualPageSink& Target() {
        if (!target_) target_ = MakeManualPageSink(argc_, argv_);
        return *target_;
    }

    int& argc_;
    char** argv_;
    std::unique_ptr<sorvane::ManualPageSink> target_;
};

}  // namespace

int main(int argc, char** argv) {
    // "--version", exactly as written, answers before anything else: no log,
    // no database, no window.
    for (int index = 1; index < argc; ++index) {
        if (std::string_view(argv[index]) == "--version") {
            std::cout << "sorvane " << sorvane::kProgramVersion << std::endl;
            return std::cout ? 0 : 1;
        }
    }

    // The process-wide settings the program makes: the C library keeps the
    // locale per process, and numbers and dates follow the user's regional
    // settings through it; freed memory is kept for the next batch. Everything
    // else a run needs is passed to it.
    std::setlocale(LC_ALL, "");
    sorvane::KeepFreedMemoryForReuse();
    sorvane::IgnoreFileSizeLimitSignal();

    const std::vector<std::string> arguments = sorvane::ProgramArguments(argc, argv);
    sorvane::HidePasswordArguments(argc, argv);

    if (!sorvane::HasCommandLineOptions(arguments)) {
#ifdef SORVANE_WITH_GUI
        // The toolkit aborts the process when its platform cannot start, so
        // a start without a display gets a clear message instead.
        if (!sorvane::WindowPlatformStarts(argc, argv)) return ReportNoWindow();
        return sorvane::RunWindowApplication(argc, argv);
#else
        return ReportNoWindow();
#endif
    }

    ManualPageOnFirstUse manual(argc, argv);
    // The run's progress and summary share standard error with the error
    // lines, which end a progress line before they are written.
    sorvane::StatusLine statusLine(std::cerr, sorvane::StandardErrorColumns());
    sorvane::CommandLineHost host(statusLine, sorvane::StandardErrorIsTerminal());
    sorvane::SystemLogSink systemLog;
    sorvane::EchoingEventLog eventLog(systemLog, std::cerr, &statusLine);
    sorvane::RunLog log(eventLog);
    const int status = sorvane::RunStartup(arguments, manual, host, log);
    if (status >= sorvane::kExitStoppedBySignal) eventLog.EchoHeldWarnings();
    statusLine.Finish();
    return status;
}
