#pragma once
// The About box (frmAbout): at most one per owner of this object, opened by
// Help > About, closed and destroyed by OK, Enter, Esc or its close box.

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QString>

namespace sorvane {

class DesktopServices;

class AboutBox {
public:
    // `services` reports a failed web label; it must outlive this object.
    explicit AboutBox(DesktopServices& services);
    // An About box still there (shown, or hidden by a language switch) goes too.
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // The box, created hidden when it does not exist yet.
    QDialog& Box();

    // The box when it exists, otherwise nullptr; never creates it.
    QDialog* Existing() const { return box_.data(); }

    // Help > About: creates the box if need be and shows it modeless, without
    // an owner; the main window stays usable.
    void Show();

    // A language switch: writes the window caption and the caption of
    // lblMoreInformationAt into the box (creating it hidden if need be) and
    // keeps them for a box created after this one has been closed.
    void SetLanguageTexts(const QString& windowCaption, const QString& moreInformationAt);

private:
    QDialog* Create();

    DesktopServices& services_;
    QPointer<QDialog> box_;
    QPointer<QLabel> moreInformationAtLabel_;  // in box_, gone with it
    QString windowCaption_;
    QString moreInformationAt_;
};

}  // namespace sorvane
