#pragma once
// The seven message texts the main window holds; set in English when the
// window loads, replaced together by a language switch.

#include <QString>

namespace sorvane {

struct WindowMessageTexts {
    QString msgDeleting;
    QString msgDone;
    QString msgNumbersOnly;
    QString msgDeletedPrefix;
    QString msgDeletedSuffix;
    QString msgDropWarning;
    QString msgWarningTitle;
};

}  // namespace sorvane
