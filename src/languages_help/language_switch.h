#pragma once
// Options > Language: rewrites the main window's captions, its message texts,
// the About box's two language texts and the toolkit's own texts at once.
// No language is stored anywhere else, and no item gets a check mark.

#include "languages_help/language_table.h"

namespace sorvane {

class AboutBox;
class ToolkitTranslations;

// What a switch writes into.
struct LanguageTargets {
    const CaptionedControls& controls;
    const WindowMenus& menus;
    WindowMessageTexts& texts;
    AboutBox& about;
    ToolkitTranslations& toolkit;
};

void SwitchLanguage(const LanguageTargets& targets, Language language);

}  // namespace sorvane
