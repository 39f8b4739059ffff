#pragma once
// Options > Language: rewrites the main window's captions (found by object
// name), its message texts and the About box's two language texts at once.
// No language is stored anywhere else, and no item gets a check mark.

#include "languages_help/language_table.h"

class QWidget;

namespace sorvane {

struct WindowMessageTexts;

void SwitchLanguage(QWidget& mainWindow, WindowMessageTexts& texts, Language language);

void English_Click(QWidget& mainWindow, WindowMessageTexts& texts);
void French_Click(QWidget& mainWindow, WindowMessageTexts& texts);
void German_Click(QWidget& mainWindow, WindowMessageTexts& texts);

}  // namespace sorvane
