#include "languages_help/display_probe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cerrno>
#include <cstdlib>

namespace sorvane {

namespace {

constexpr unsigned kProbeTimeoutSeconds = 10;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

bool OffscreenPlatformChosen(const std::string& qpaPlatform) {
    return qpaPlatform.substr(0, qpaPlatform.find(':')) == "offscreen";
}

bool EnvironmentNamesDisplay(const std::string& qpaPlatform, const std::string& display,
                             const std::string& waylandDisplay) {
    return OffscreenPlatformChosen(qpaPlatform) || !display.empty() || !waylandDisplay.empty();
}

bool SucceedsInChildProcess(const std::function<void()>& attempt, unsigned timeoutSeconds) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) dup2(devNull, STDERR_FILENO);
        signal(SIGALRM, SIG_DFL);
        alarm(timeoutSeconds);
        attempt();
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool WindowPlatformStarts(int& argc, char** argv) {
    const std::string platform = Environment("QT_QPA_PLATFORM");
    if (!EnvironmentNamesDisplay(platform, Environment("DISPLAY"), Environment("WAYLAND_DISPLAY"))) return false;
    if (OffscreenPlatformChosen(platform)) return true;
    return SucceedsInChildProcess([&argc, argv] { QGuiApplication probe(argc, argv); }, kProbeTimeoutSeconds);
}

}  // namespace sorvane
