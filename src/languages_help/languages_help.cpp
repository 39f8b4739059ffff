#include "languages_help/languages_help.h"

namespace sorvane {

// Placeholder until the language switch and the Help menu are connected.
void AttachLanguagesAndHelp(QWidget&, WindowMessageTexts&) {}

}  // namespace sorvane
