#pragma once
// Creates the main window's controls on its client area at their designed
// places, with their initial texts, limits, access-key buddies and focus order.

#include "mainwindow/form_controls.h"

class QWidget;

namespace sorvane {

// The client area's designed size in twips.
constexpr int kClientWidthTwips = 5085;
constexpr int kClientHeightTwips = 6690;
// The font size the control sizes were designed for.
constexpr double kDesignFontPoints = 8.0;
// The status line's, which shows two lines in the height of one field.
constexpr double kStatusFontPoints = 7.5;

// Builds every control as a child of `client` (named by its object name) and
// sizes `client` to the designed client area for its screen's dpi.
FormControls BuildFormControls(QWidget& client);

}  // namespace sorvane
