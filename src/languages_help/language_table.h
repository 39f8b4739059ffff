#pragma once
// The texts a language switch rewrites, in English, French and German. Every
// other text of the program stays as designed, in English.

#include <QString>
#include <variant>

#include "languages_help/window_controls.h"
#include "languages_help/window_message_texts.h"

class QObject;

namespace sorvane {

enum class Language { English = 0, French = 1, German = 2 };

constexpr int kLanguageCount = 3;

// One text in its three languages (UTF-8), indexed by Language.
struct Translations {
    const char* text[kLanguageCount];

    QString In(Language language) const { return QString::fromUtf8(text[static_cast<int>(language)]); }
};

// A caption of the main window: a label or a button of its form, or a menu
// or a menu item of its menu bar (a menu's caption is its title).
using CaptionTarget = std::variant<QLabel* CaptionedControls::*, QPushButton* CaptionedControls::*,
                                   QMenu* WindowMenus::*, QAction* WindowMenus::*>;

struct CaptionTranslation {
    CaptionTarget target;
    Translations texts;
};

// One of the window message texts.
struct MessageTranslation {
    QString WindowMessageTexts::*message;
    Translations texts;
};

// Captions of the main window, in the order a switch writes them.
extern const CaptionTranslation kWindowCaptions[15];

// The seven window message texts, in the order a switch writes them.
extern const MessageTranslation kMessageTexts[7];

// The two texts of the About box that follow the language.
extern const Translations kAboutMoreInformationAt;
extern const Translations kAboutCaption;

// The control or menu a caption belongs to.
QObject* CaptionObject(const CaptionTarget& target, const CaptionedControls& controls, const WindowMenus& menus);

// Writes the caption: a label's or a button's text, a menu's title, an item's text.
void SetCaption(const CaptionTarget& target, const CaptionedControls& controls, const WindowMenus& menus,
                const QString& caption);

}  // namespace sorvane
