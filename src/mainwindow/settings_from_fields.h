#pragma once
// Turns the main window's fields into the job description of one run.

#include "mainwindow/form_controls.h"
#include "purge/purge_settings.h"

namespace sorvane {

// Which rows a run command asks for.
struct RunKind {
    bool deleteRows;
    bool backupRows;
};

constexpr RunKind kDeleteRun{true, false};
constexpr RunKind kBackupRun{false, true};
constexpr RunKind kBackupAndDeleteRun{true, true};

// Reads the fields in a fixed order (time column, Days, records per trip,
// table, DSN, user, password, then the backup file fields and check boxes),
// texts exactly as they stand. Days and records per trip become 16-bit
// numbers; a conversion failure raises RunFailure before later fields are read.
PurgeSettings ReadSettingsFromFields(const FormControls& controls, RunKind kind);

}  // namespace sorvane
