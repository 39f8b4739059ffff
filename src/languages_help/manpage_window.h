#pragma once
// The manual-page window (frmManpage with its text box Text1): one per
// program, created hidden by its first use, destroyed when it is closed.

#include <optional>
#include <string>
#include <vector>

#include "startup/manual_page.h"

class QPlainTextEdit;
class QString;
class QWidget;

namespace sorvane {

// The 16-bit line index of the manual page stops after the line with index
// 32767: no more lines than this are shown.
inline constexpr std::size_t kManpageLineLimit = 32768;

// The window, created hidden when it does not exist yet.
QWidget& ManpageWindow();

// The window when it exists, otherwise nullptr; never creates it.
QWidget* ExistingManpageWindow();

// Text1 of the window (created hidden if need be).
QPlainTextEdit& ManpageText();

// Appends the line and CR LF to the text of Text1.
void AppendManpageLine(const QString& line);

// Appends text as it is; each CR LF pair in it ends a line.
void AppendManpageText(const QString& text);

// Shows the window modeless, without an owner, and brings it to the front.
void ShowManpageWindow();

// Help > Manpage: appends every line of the manual page once more and shows
// the window. A page that cannot be read, or one longer than
// kManpageLineLimit, does not end the program: what can be shown is shown and
// a message over messageOwner says what happened.
void Manpage_Click(QWidget* messageOwner, const ManualPageLoader& loader = LoadManualPage);

}  // namespace sorvane
