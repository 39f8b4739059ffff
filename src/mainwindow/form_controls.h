#pragma once
// The controls of the main window, by the names other parts of the program
// (and the language switch, through object names) know them by.

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace sorvane {

struct FormControls {
    // Database and run settings (right column).
    QLabel* Label3 = nullptr;
    QLineEdit* txtTage = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtDSN = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtTabelle = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtBenutzer = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* txtPass = nullptr;
    QLabel* lblDelRecPerState = nullptr;
    QLineEdit* txtDelRecPerTrip = nullptr;
    QLabel* lblDisplayStatusAfter = nullptr;
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
    QPushButton* Command1 = nullptr;  // Delete
    QPushButton* Command2 = nullptr;  // Quit
    QLabel* LabelStatus = nullptr;
    QFrame* Line1 = nullptr;
    QTimer* timerDeleting = nullptr;
};

}  // namespace sorvane
