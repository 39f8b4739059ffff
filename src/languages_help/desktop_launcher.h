#pragma once
// Opens a web address through the desktop's opener (xdg-open).

class QString;

namespace sorvane {

// What handing an address to the desktop gave: above 32 it was taken, 32 or
// less names the failure.
inline constexpr int kDesktopOpening = 42;      // above 32: the desktop has taken it
inline constexpr int kOpenerNotFound = 2;       // xdg-open could not be started
inline constexpr int kOpenerFailedAtWorst = 32; // a crash, or an exit code above 32

// Starts xdg-open with the address and waits a few seconds (with the event
// loop running) for its verdict. Its exit code 0 gives kDesktopOpening, codes
// 1 to 32 are passed on, anything worse becomes kOpenerFailedAtWorst. An
// opener still running when the wait ends has handed the address to a browser
// that stays in the foreground, which counts as success.
int OpenWithDesktop(const QString& address);

}  // namespace sorvane
