#pragma once
// The manual-page window (frmManpage with its text box Text1): at most one per
// owner of this object, created hidden by its first use, destroyed when it is
// closed.

#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "common/manual_page.h"

class QPlainTextEdit;
class QString;

namespace sorvane {

class DesktopServices;

// The 16-bit line index of the manual page stops after the line with index
// 32767: no more lines than this are shown.
inline constexpr std::size_t kManpageLineLimit = 32768;

class ManpageWindow {
public:
    ManpageWindow() = default;
    // A window still there goes too.
    ~ManpageWindow();
    ManpageWindow(const ManpageWindow&) = delete;
    ManpageWindow& operator=(const ManpageWindow&) = delete;

    // The window, created hidden when it does not exist yet.
    QWidget& Window();

    // The window when it exists, otherwise nullptr; never creates it.
    QWidget* Existing() const { return window_.data(); }

    // Text1 of the window (created hidden if need be).
    QPlainTextEdit& Text();

    // Appends text as it is; each CR LF pair in it ends a line.
    void AppendText(const QString& text);

    // Puts text in place of what the window shows, in the same way.
    void ReplaceText(const QString& text);

    // Shows the window modeless, without an owner, and brings it to the front.
    void Show();

private:
    QPointer<QWidget> window_;
};

// Help > Manpage: puts every line of the manual page in the window, in place
// of what it showed, and shows the window. A page that cannot be read, or one longer than
// kManpageLineLimit, does not end the program: what can be shown is shown and
// a message over messageOwner says what happened.
void Manpage_Click(ManpageWindow& manpage, DesktopServices& services, QWidget* messageOwner,
                   const ManualPageLoader& loader = LoadManualPage);

}  // namespace sorvane
