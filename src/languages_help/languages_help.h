#pragma once
// Connects the main window's Options > Language items and its Help menu items
// (found by their object names) to the language switch, the web links, the
// manual-page window and the About box.

class QWidget;

namespace sorvane {

struct WindowMessageTexts;

void AttachLanguagesAndHelp(QWidget& mainWindow, WindowMessageTexts& texts);

}  // namespace sorvane
