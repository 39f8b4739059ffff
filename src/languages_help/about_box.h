#pragma once
// The About box (frmAbout): one per program, opened by Help > About, closed
// and destroyed by OK, Enter, Esc or its close box.

class QDialog;
class QString;

namespace sorvane {

// The box, created hidden when it does not exist yet.
QDialog& AboutBox();

// The box when it exists, otherwise nullptr; never creates it.
QDialog* ExistingAboutBox();

// Help > About: creates the box if need be and shows it modeless, without an
// owner; the main window stays usable.
void About_Click();

// A language switch: writes the window caption and the caption of
// lblMoreInformationAt into the box (creating it hidden if need be) and keeps
// them for a box created after this one has been closed.
void SetAboutLanguageTexts(const QString& windowCaption, const QString& moreInformationAt);

}  // namespace sorvane
