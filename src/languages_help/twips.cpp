#include "languages_help/twips.h"

#include <cmath>

namespace sorvane {

int TwipsToPixels(int twips, int logicalDpi) {
    // 15 twips make one pixel at 96 dpi; rounding to the nearest pixel keeps
    // neighbouring controls from drifting apart by accumulated truncation.
    return static_cast<int>(std::lround(static_cast<double>(twips) * logicalDpi / 1440.0));
}

}  // namespace sorvane
