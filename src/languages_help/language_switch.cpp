#include "languages_help/language_switch.h"

#include "languages_help/about_box.h"
#include "languages_help/toolkit_translations.h"

namespace sorvane {

void SwitchLanguage(const LanguageTargets& targets, Language language) {
    for (const CaptionTranslation& caption : kWindowCaptions) {
        SetCaption(caption.target, targets.controls, targets.menus, caption.texts.In(language));
    }
    for (const MessageTranslation& message : kMessageTexts) {
        targets.texts.*message.message = message.texts.In(language);
    }
    targets.about.SetLanguageTexts(kAboutCaption.In(language), kAboutMoreInformationAt.In(language));
    // The toolkit's texts appear in message boxes and menus created from now
    // on (a box reads its Yes and No when it is built).
    targets.toolkit.Use(language);
}

}  // namespace sorvane
