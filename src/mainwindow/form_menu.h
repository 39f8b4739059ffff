#pragma once
// The main window's menu bar: File, Options with the interface languages, and
// Help. Every menu and item also carries its name as object name (a menu's
// title action too), for tests and accessibility.

#include "languages_help/window_controls.h"

class QMenuBar;

namespace sorvane {

WindowMenus BuildFormMenu(QMenuBar& menuBar);

}  // namespace sorvane
