#pragma once
// The program's message boxes as the user sees them, built but not yet shown,
// so that showing them and checking their layout use the same boxes.

#include <QMessageBox>
#include <memory>

#include "languages_help/desktop_services.h"

namespace sorvane {

// Yes and No, no icon. No is the default button and answers Esc: the one
// question asks before a run that empties the table, so Yes must be chosen.
std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* parent, const QString& prompt, const QString& title);

// OK only, titled "Sorvane".
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const QString& text, MessageIcon icon);

}  // namespace sorvane
