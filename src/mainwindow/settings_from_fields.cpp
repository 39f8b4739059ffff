#include "mainwindow/settings_from_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "mainwindow/field_conversion.h"

namespace sorvane {

namespace {

std::string TextOf(const QLineEdit* field) { return field->text().toStdString(); }

int CheckValue(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

Bool16 ToBool16(bool value) { return value ? kTrue16 : kFalse16; }

}  // namespace

PurgeSettings ReadSettingsFromFields(const FormControls& c, RunKind kind) {
    PurgeSettings settings;
    settings.timeColumn = c.Combo1->currentText().toStdString();
    settings.days = ConvertToInteger16(TextOf(c.txtTage));
    settings.recordsPerTrip = ConvertToInteger32(TextOf(c.txtDelRecPerTrip));
    settings.tableName = TextOf(c.txtTabelle);
    settings.dsn = TextOf(c.txtDSN);
    settings.userName = TextOf(c.txtBenutzer);
    settings.password = TextOf(c.txtPass);
    settings.separator = TextOf(c.txtSeparateWith);
    settings.escapeText = TextOf(c.txtEscapeWith);
    settings.fileName = TextOf(c.txtFilename);
    settings.fileExtension = TextOf(c.txtFileExtension);
    settings.filePath = TextOf(c.txtFilePath);
    settings.overwrite = CheckValue(c.CheckOverWriteFile);
    settings.includeDate = CheckValue(c.CheckIncludeDate);
    settings.deleteRows = ToBool16(kind.deleteRows);
    settings.backupRows = ToBool16(kind.backupRows);
    settings.commandLineMode = 0;
    return settings;
}

}  // namespace sorvane
