#include "languages_help/language_table.h"

namespace sorvane {

// English equals the design texts, so choosing English restores the state the
// program starts in.
const CaptionTranslation kWindowCaptions[15] = {
    {"Label3", {{"&Days :", "&Jours :", "&Tage :"}}},
    {"Label2", {{"D&SN :", "D&SN :", "D&SN :"}}},
    {"Label1", {{"&Table name :", "nom de &table :", "Tabellen&name :"}}},
    {"Label4", {{"&Username :", "&Identifiant :", "&Benutzername :"}}},
    {"Label5", {{"&Password :", "mot de &passe :", "&Passwort :"}}},
    {"Command1", {{"Delete", "Effacer", "Löschen"}}},
    {"Command2", {{"&Quit", "&Quittez", "Sch&liessen"}}},
    {"Options", {{"&Options", "&Options", "&Optionen"}}},
    {"Exit1", {{"E&xit", "Déb&ouché", "&Verlassen"}}},
    {"File", {{"&File", "&Dossier", "&Datei"}}},
    {"Help1", {{"&Help", "&Aide", "&Hilfe"}}},
    {"Language", {{"&Language", "&Parole", "&Sprache"}}},
    {"About", {{"&About Sorvane", "&Au sujet de Sorvane", "&Über Sorvane"}}},
    {"lblDelRecPerState",
     {{"Delete records per trip:", "Disques d 'effacement par:", "Datensätze pro SQL löschen:"}}},
    {"lblDisplayStatusAfter",
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

}  // namespace sorvane
