#include "languages_help/language_table.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace sorvane {

// English equals the design texts, so choosing English restores the state the
// program starts in.
const CaptionTranslation kWindowCaptions[15] = {
    {&CaptionedControls::Label3, {{"&Days :", "&Jours :", "&Tage :"}}},
    {&CaptionedControls::Label2, {{"D&SN :", "D&SN :", "D&SN :"}}},
    {&CaptionedControls::Label1, {{"&Table name :", "nom de &table :", "Tabellen&name :"}}},
    {&CaptionedControls::Label4, {{"&Username :", "&Identifiant :", "&Benutzername :"}}},
    {&CaptionedControls::Label5, {{"&Password :", "mot de &passe :", "&Passwort :"}}},
    {&CaptionedControls::Command1, {{"Delete", "Effacer", "Löschen"}}},
    {&CaptionedControls::Command2, {{"&Quit", "&Quittez", "Sch&liessen"}}},
    {&WindowMenus::Options, {{"&Options", "&Options", "&Optionen"}}},
    {&WindowMenus::Exit1, {{"E&xit", "Déb&ouché", "&Verlassen"}}},
    {&WindowMenus::File, {{"&File", "&Dossier", "&Datei"}}},
    {&WindowMenus::Help1, {{"&Help", "&Aide", "&Hilfe"}}},
    {&WindowMenus::Language, {{"&Language", "&Parole", "&Sprache"}}},
    {&WindowMenus::About, {{"&About Sorvane", "&Au sujet de Sorvane", "&Über Sorvane"}}},
    {&CaptionedControls::lblDelRecPerState,
     {{"Delete records per trip:", "Disques d 'effacement par:", "Datensätze pro SQL löschen:"}}},
    {&CaptionedControls::lblDisplayStatusAfter,
     {{"Display Status after (sec):", "Statut d'affichage ensuite (sec):", "Status anzeigen nach (sec):"}}},
};

const MessageTranslation kMessageTexts[7] = {
    {&WindowMessageTexts::msgDeleting, {{"Deleting . . . ", "Rayant . . . ", "Lösche . . . "}}},
    {&WindowMessageTexts::msgDone, {{"Done.", "Faites.", "Fertig."}}},
    {&WindowMessageTexts::msgNumbersOnly,
     {{"Please type only numbers in the \"Days\" field",
       "Veuillez dactylographier seulement les nombres en \" Jours \" champ.",
       "Bitte nur Zahlen im Feld \"Tage\" verwenden."}}},
    {&WindowMessageTexts::msgDeletedPrefix, {{"", "", "Es wurden "}}},
    {&WindowMessageTexts::msgDeletedSuffix,
     {{" Data Records were deleted", " des enregistrements ont été supprimés.", " Datensätze gelöscht"}}},
    {&WindowMessageTexts::msgDropWarning,
     {{"This will drop the whole database, continue ?",
       "Ceci laissera tomber la base de données entière, continuent ?",
       "Wollen sie wirklich die gesamte Datenbank leeren ?"}}},
    {&WindowMessageTexts::msgWarningTitle, {{"WARNING!", "AVERTISSEMENT!", "WARNUNG!"}}},
};

const Translations kAboutMoreInformationAt = {{"More Information at", "Plus d'information à", "Mehr Informationen auf"}};
const Translations kAboutCaption = {{"About Sorvane", "Au sujet de Sorvane", "Über Sorvane"}};

namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace

QObject* CaptionObject(const CaptionTarget& target, const CaptionedControls& controls, const WindowMenus& menus) {
    return std::visit(Overloaded{[&](QLabel* CaptionedControls::*m) -> QObject* { return controls.*m; },
                                 [&](QPushButton* CaptionedControls::*m) -> QObject* { return controls.*m; },
                                 [&](QMenu* WindowMenus::*m) -> QObject* { return menus.*m; },
                                 [&](QAction* WindowMenus::*m) -> QObject* { return menus.*m; }},
                      target);
}

void SetCaption(const CaptionTarget& target, const CaptionedControls& controls, const WindowMenus& menus,
                const QString& caption) {
    std::visit(Overloaded{[&](QLabel* CaptionedControls::*m) { (controls.*m)->setText(caption); },
                          [&](QPushButton* CaptionedControls::*m) { (controls.*m)->setText(caption); },
                          [&](QMenu* WindowMenus::*m) { (menus.*m)->setTitle(caption); },
                          [&](QAction* WindowMenus::*m) { (menus.*m)->setText(caption); }},
               target);
}

}  // namespace sorvane
