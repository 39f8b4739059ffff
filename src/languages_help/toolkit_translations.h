#pragma once
// The toolkit's own texts (Yes, No and OK of the message boxes, the fields'
// right-click menu) in the interface language: Qt's translations of its base
// library for French and German, none for English.

#include <QTranslator>

#include "languages_help/language_table.h"

namespace sorvane {

class ToolkitTranslations {
public:
    ToolkitTranslations() = default;
    ~ToolkitTranslations();
    ToolkitTranslations(const ToolkitTranslations&) = delete;
    ToolkitTranslations& operator=(const ToolkitTranslations&) = delete;

    // Removes the translation installed before and installs the one for
    // `language`. False when it could not be loaded: the toolkit then speaks
    // English.
    bool Use(Language language);

private:
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace sorvane
