#pragma once
// The main window's Options > Language items and Help menu, connected to the
// language switch, the web links, the manual-page window and the About box.
// Owns the About box and the manual-page window it opens and the toolkit's
// translations it installs; the main window owns this object.

#include "languages_help/about_box.h"
#include "languages_help/language_switch.h"
#include "languages_help/manpage_window.h"
#include "languages_help/toolkit_translations.h"

class QWidget;

namespace sorvane {

class DesktopServices;

class LanguagesAndHelp {
public:
    // Every argument must outlive this object; the menus' connections end
    // with `mainWindow`.
    LanguagesAndHelp(QWidget& mainWindow, const CaptionedControls& controls, const WindowMenus& menus,
                     WindowMessageTexts& texts, DesktopServices& services);

    void Switch(Language language);
    AboutBox& About() { return about_; }
    ManpageWindow& Manpage() { return manpage_; }

private:
    AboutBox about_;
    ManpageWindow manpage_;
    ToolkitTranslations toolkit_;
    LanguageTargets targets_;
};

}  // namespace sorvane
