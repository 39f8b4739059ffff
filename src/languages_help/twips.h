#pragma once
// The window is designed in twips (1/1440 inch). A twip count becomes pixels
// for the screen's logical dots per inch, so the layout keeps its proportions
// on screens that are scaled up.

namespace sorvane {

int TwipsToPixels(int twips, int logicalDpi);

}  // namespace sorvane
