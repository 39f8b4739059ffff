#pragma once
// The main window's designed sizes hold its captions in the design font, but
// not every caption in every language (French and German are longer) nor in
// every font. A control whose caption would be cut off in any of the three
// languages is widened to hold it, and the client area with it, once, when
// the window is built: a language switch never resizes the window.

class QWidget;

namespace sorvane {

struct FormControls;

void FitCaptionsOfEveryLanguage(QWidget& client, const FormControls& controls);

}  // namespace sorvane
