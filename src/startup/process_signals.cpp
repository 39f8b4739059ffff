#include "startup/process_signals.h"

#include <signal.h>

#include <iterator>

namespace sorvane {

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler can reach nothing but static storage.
StopRequest* activeRequest = nullptr;
struct sigaction previousActions[std::size(kStopSignals)];
// A signal ignored when the program started (nohup, or a background job of a
// shell) stays ignored.
bool caught[std::size(kStopSignals)];

void RecordStopSignal(int signal) {
    if (activeRequest != nullptr) activeRequest->Request(signal);
    // The next one, of any of them, finds the default action again.
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (caught[i]) ::signal(kStopSignals[i], SIG_DFL);
    }
}

}  // namespace

void IgnoreFileSizeLimitSignal() { ::signal(SIGXFSZ, SIG_IGN); }

StopSignals::StopSignals(StopRequest& request) {
    activeRequest = &request;
    struct sigaction action {};
    action.sa_handler = RecordStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        ::sigaction(kStopSignals[i], nullptr, &previousActions[i]);
        caught[i] = previousActions[i].sa_handler != SIG_IGN;
        if (caught[i]) ::sigaction(kStopSignals[i], &action, nullptr);
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (caught[i]) ::sigaction(kStopSignals[i], &previousActions[i], nullptr);
        caught[i] = false;
    }
    activeRequest = nullptr;
}

}  // namespace sorvane
