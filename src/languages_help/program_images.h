#pragma once
// The program's pictures, compiled into it: the 16 x 16 window icon that every
// window of the program carries, and the About box logo.

class QIcon;
class QPixmap;

namespace sorvane {

QIcon ProgramIcon();

// The 200 x 81 logo (a GIF image).
QPixmap LogoPixmap();

}  // namespace sorvane
