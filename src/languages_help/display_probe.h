#pragma once
// Whether the manual page can go into a window. The toolkit ends the whole
// process when its platform cannot start (an X display that refuses the
// connection, for one), so the attempt is first made in a child process.

#include <functional>
#include <string>

namespace sorvane {

// The environment names a screen: the offscreen platform (QT_QPA_PLATFORM,
// options after ':' aside), or an X or Wayland display.
bool EnvironmentNamesDisplay(const std::string& qpaPlatform, const std::string& display,
                             const std::string& waylandDisplay);

// True when the offscreen platform is chosen, which starts without a screen.
bool OffscreenPlatformChosen(const std::string& qpaPlatform);

// Runs attempt in a forked child with its standard error silenced; true when
// the child returns from it normally within timeoutSeconds. An abort, a crash
// or a hang only ends the child.
bool SucceedsInChildProcess(const std::function<void()>& attempt, unsigned timeoutSeconds);

// Whether a QApplication can start here: the environment names a display and,
// unless the platform is offscreen, a probe application starts in a child.
bool WindowPlatformStarts(int& argc, char** argv);

}  // namespace sorvane
