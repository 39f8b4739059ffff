#include "startup/option_table.h"

#include <array>

#include "startup/option_values.h"

namespace sorvane {

namespace {

// The values reaching these setters passed their kind's check.
void SetDays(OptionTarget& t, const std::string& v) { t.settings.days = *WholeNumber16(v); }
void SetRecordsPerTrip(OptionTarget& t, const std::string& v) { t.settings.recordsPerTrip = *WholeNumber32(v); }
void ShowManual(OptionTarget& t, const std::string&) { if (t.showManualPage) t.showManualPage(); }
void SetDsn(OptionTarget& t, const std::string& v) { t.settings.dsn = v; }
void SetTable(OptionTarget& t, const std::string& v) { t.settings.tableName = v; }
void SetUser(OptionTarget& t, const std::string& v) { t.settings.userName = v; }
void SetPassword(OptionTarget& t, const std::string& v) { t.settings.password = v; }
void SetSeparator(OptionTarget& t, const std::string& v) { t.settings.separator = v; }
void SetEscape(OptionTarget& t, const std::string& v) { t.settings.escapeText = v; }
void SetFileName(OptionTarget& t, const std::string& v) { t.settings.fileName = v; }
void SetFileExtension(OptionTarget& t, const std::string& v) { t.settings.fileExtension = v; }
void SetBackup(OptionTarget& t, const std::string& v) { t.settings.backupRows = *Boolean16(v); }
void SetDelete(OptionTarget& t, const std::string& v) { t.settings.deleteRows = *Boolean16(v); }
void SetFilePath(OptionTarget& t, const std::string& v) { t.settings.filePath = v; }
// Kept as typed: the export reads the number where it uses it.
void SetIncludeDate(OptionTarget& t, const std::string& v) { t.settings.includeDate = v; }
void SetOverwrite(OptionTarget& t, const std::string& v) { t.settings.overwrite = v; }
void SetTimeColumn(OptionTarget& t, const std::string& v) { t.settings.timeColumn = v; }
void EnableDebug(OptionTarget& t, const std::string&) { t.log.EnableDebug(); }
void SetDryRun(OptionTarget& t, const std::string&) { t.longOptions.dryRun = true; }
void SetProgress(OptionTarget& t, const std::string&) { t.longOptions.progress = true; }
void SetRestoreFile(OptionTarget& t, const std::string& v) { t.longOptions.restoreFile = v; }
// Answered by the program's entry point before any option is read.
void AnsweredAtStart(OptionTarget&, const std::string&) {}

using enum OptionValueKind;

// In the order the options are documented; the order does not matter to
// the reading, since one argument names one option.
constexpr std::array kOptions{
    OptionEntry{"-ndays", WholeNumber, SetDays, "The Value for ndays must be numeric!"},
    OptionEntry{"-h", None, ShowManual},
    OptionEntry{"-help", None, ShowManual},
    OptionEntry{"-dsn", Text, SetDsn},
    OptionEntry{"-table", Text, SetTable},
    OptionEntry{"-user", Text, SetUser},
    OptionEntry{"-pass", Secret, SetPassword},
    OptionEntry{"-sep", Text, SetSeparator},
    OptionEntry{"-esc", Text, SetEscape},
    OptionEntry{"-filename", Text, SetFileName},
    OptionEntry{"-fileex", Text, SetFileExtension},
    OptionEntry{"-backup", Boolean, SetBackup},
    OptionEntry{"-delete", Boolean, SetDelete},
    OptionEntry{"-filepath", Text, SetFilePath},
    OptionEntry{"-includedate", Number, SetIncludeDate},
    OptionEntry{"-overwrite", Number, SetOverwrite},
    OptionEntry{"-delrecpertrip", WholeNumber32, SetRecordsPerTrip, "The Value for delrecpertrip must be numeric!"},
    OptionEntry{"-timecol", TimeColumn, SetTimeColumn,
               "-timecol must have one of the following Options: ReceivedAt/DeviceReportedTime !"},
    OptionEntry{"-debug", None, EnableDebug},
    OptionEntry{"--version", None, AnsweredAtStart},
    OptionEntry{"--dry-run", None, SetDryRun},
    OptionEntry{"--progress", None, SetProgress},
    OptionEntry{"--restore", FileName, SetRestoreFile},
};

}  // namespace

const OptionEntry* OptionStartingArgument(std::string_view argument) {
    const OptionEntry* found = nullptr;
    for (const OptionEntry& option : kOptions) {
        if (argument.starts_with(option.name) && (!found || option.name.size() > found->name.size())) {
            found = &option;
        }
    }
    return found;
}

}  // namespace sorvane
