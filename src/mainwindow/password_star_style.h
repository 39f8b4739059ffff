#pragma once
// A password field that shows one "*" per character, whatever mask character
// the desktop style would choose.

class QLineEdit;

namespace sorvane {

// Switches the field to password echo with "*" as the mask character.
void UseStarPasswordEcho(QLineEdit& field);

}  // namespace sorvane
