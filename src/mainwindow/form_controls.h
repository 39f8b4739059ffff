#pragma once
// The controls of the main window, by the names other parts of the program
// know them by. Those whose captions follow the language come from
// CaptionedControls, which the language switch knows.

#include "languages_help/window_controls.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace sorvane {

struct FormControls : CaptionedControls {
    // Database and run settings (right column).
    QLineEdit* txtTage = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* txtDSN = nullptr;
    QLineEdit* txtTabelle = nullptr;
    QLineEdit* txtBenutzer = nullptr;
    QLineEdit* txtPass = nullptr;
    QLineEdit* txtDelRecPerTrip = nullptr;
    QLineEdit* txtDisplayStatusAfter = nullptr;

    // CSV backup file settings (left column).
    QLabel* Label6 = nullptr;
    QLabel* lblSeparateWith = nullptr;
    QLineEdit* txtSeparateWith = nullptr;
    QLabel* lblEscapeWith = nullptr;
    QLineEdit* txtEscapeWith = nullptr;
    QLabel* lblFilename = nullptr;
    QLineEdit* txtFilename = nullptr;
    QLabel* lblFileExtension = nullptr;
    QLineEdit* txtFileExtension = nullptr;
    QLabel* lblFilePath = nullptr;
    QLineEdit* txtFilePath = nullptr;
    QCheckBox* CheckIncludeDate = nullptr;
    QCheckBox* CheckOverWriteFile = nullptr;

    // Commands, status and the rest.
    QPushButton* Command3 = nullptr;  // Backup
    QPushButton* Command4 = nullptr;  // Backup and Delete
    QLabel* LabelStatus = nullptr;
    QFrame* Line1 = nullptr;
    QTimer* timerDeleting = nullptr;
};

}  // namespace sorvane
