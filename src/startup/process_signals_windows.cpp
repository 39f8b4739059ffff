// Ctrl+C, Ctrl+Break and the closing of the console (also at log-off and
// shut-down) reach the program as console control events, through
// SetConsoleCtrlHandler. They are recorded under the number of the C
// library's matching signal, which the exit status and the report carry:
//   Ctrl+C -> SIGINT (2, exit status 130), Ctrl+Break -> SIGBREAK (21, 149),
//   console closed, log-off, shut-down -> SIGTERM (15, 143).

#include <windows.h>

#include <csignal>

#include "startup/process_signals.h"

namespace sorvane {

namespace {

// The handler runs on a thread of its own that the system starts; it can
// reach nothing but static storage.
StopRequest* activeRequest = nullptr;

int SignalOf(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT: return SIGINT;
        case CTRL_BREAK_EVENT: return SIGBREAK;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT: return SIGTERM;
        default: return 0;
    }
}

BOOL WINAPI RecordStopEvent(DWORD event) {
    const int signal = SignalOf(event);
    // A second event finds the system's own handling, which ends the program
    // at once (a batch is exported before it is deleted: no row is lost).
    if (signal == 0 || activeRequest == nullptr || activeRequest->Signal() != 0) return FALSE;
    activeRequest->Request(signal);
    if (signal == SIGTERM) {
        // After a close, log-off or shut-down event the system ends the
        // process as soon as this handler returns (or after a few seconds):
        // waiting here lets the batch under way finish and the run end and
        // report on its own thread, whose exit ends this one too.
        Sleep(INFINITE);
    }
    return TRUE;
}

}  // namespace

// Windows sends no signal for a file-size limit: a write beyond one fails and
// is reported like a full disk.
void IgnoreFileSizeLimitSignal() {}

StopSignals::StopSignals(StopRequest& request) {
    activeRequest = &request;
    SetConsoleCtrlHandler(RecordStopEvent, TRUE);
}

StopSignals::~StopSignals() {
    SetConsoleCtrlHandler(RecordStopEvent, FALSE);
    activeRequest = nullptr;
}

}  // namespace sorvane
