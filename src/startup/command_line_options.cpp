#include "startup/command_line_options.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "startup/option_values.h"
#include "common/run_log.h"

namespace sorvane {

namespace {

constexpr const char* kPasswordOption = "-pass";

bool IsPasswordArgument(const char* argument) {
    return std::strncmp(argument, kPasswordOption, std::strlen(kPasswordOption)) == 0;
}

bool Contains(const std::string& argument, const char* optionName) {
    return argument.find(optionName) != std::string::npos;
}

// -ndays and -delrecpertrip: a rejected value is only traced (while -debug is
// already on) and the field keeps what it had.
template <typename Whole>
void ApplyNumberOption(const std::string& argument, const std::string& optionName, Whole& field,
                       const RunLog& log) {
    if (!Contains(argument, optionName.c_str())) return;
    const std::optional<Whole> number = ReadWholeNumber<Whole>(OptionValue(argument, optionName), optionName);
    if (number) {
        field = *number;
    } else {
        log.WriteDebugLog("The Value for " + optionName.substr(1) + " must be numeric!");
    }
}

void ApplyTextOption(const std::string& argument, const char* optionName, std::string& field) {
    if (Contains(argument, optionName)) field = OptionValue(argument, optionName);
}

void ApplyBooleanOption(const std::string& argument, const char* optionName, Bool16& field) {
    if (Contains(argument, optionName)) field = ConvertToBool16(OptionValue(argument, optionName), optionName);
}

// -includedate and -overwrite keep the typed text; the export reads it as a
// number where it uses it.
void ApplyNumberOrTextOption(const std::string& argument, const char* optionName, NumberOrText& field) {
    if (Contains(argument, optionName)) field = OptionValue(argument, optionName);
}

void ApplyTimeColumnOption(const std::string& argument, std::string& timeColumn, const RunLog& log) {
    if (!Contains(argument, "-timecol")) return;
    const std::string value = OptionValue(argument, "-timecol");
    if (value == "ReceivedAt" || value == "DeviceReportedTime") {
        timeColumn = value;
    } else {
        log.WriteDebugLog("-timecol must have one of the following Options: ReceivedAt/DeviceReportedTime !");
    }
}

}  // namespace

void ApplyCommandLineArgument(const std::string& argument, PurgeSettings& settings, RunLog& log,
                              const ShowManualPage& showManualPage) {
    // A password may hold any option name ("horse-table-staple"): its
    // argument sets the password and nothing else, so no fragment of it
    // ends up in another field, a log line or a backup.
    if (IsPasswordArgument(argument.c_str())) {
        settings.password = OptionValue(argument, kPasswordOption);
        return;
    }
    ApplyNumberOption(argument, "-ndays", settings.days, log);
    if (Contains(argument, "-h") && showManualPage) showManualPage();
    ApplyTextOption(argument, "-dsn", settings.dsn);
    ApplyTextOption(argument, "-table", settings.tableName);
    ApplyTextOption(argument, "-user", settings.userName);
    ApplyTextOption(argument, kPasswordOption, settings.password);
    ApplyTextOption(argument, "-sep", settings.separator);
    ApplyTextOption(argument, "-esc", settings.escapeText);
    ApplyTextOption(argument, "-filename", settings.fileName);
    ApplyTextOption(argument, "-fileex", settings.fileExtension);
    ApplyBooleanOption(argument, "-backup", settings.backupRows);
    ApplyBooleanOption(argument, "-delete", settings.deleteRows);
    ApplyTextOption(argument, "-filepath", settings.filePath);
    ApplyNumberOrTextOption(argument, "-includedate", settings.includeDate);
    ApplyNumberOrTextOption(argument, "-overwrite", settings.overwrite);
    ApplyNumberOption(argument, "-delrecpertrip", settings.recordsPerTrip, log);
    ApplyTimeColumnOption(argument, settings.timeColumn, log);
    if (Contains(argument, "-debug")) log.EnableDebug();
}

void HidePasswordArguments(int argc, char** argv) {
    const std::size_t valueStart = std::strlen(kPasswordOption) + 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == nullptr || !IsPasswordArgument(argv[i])) continue;
        const std::size_t length = std::strlen(argv[i]);
        for (std::size_t j = valueStart; j < length; ++j) argv[i][j] = 'x';
    }
}

void ReadCommandLineOptions(const std::vector<std::string>& argumentList, PurgeSettings& settings,
                            RunLog& log, const ShowManualPage& showManualPage,
                            const std::function<void()>& beforeEachArgument) {
    for (const std::string& argument : argumentList) {
        if (beforeEachArgument) beforeEachArgument();
        ApplyCommandLineArgument(argument, settings, log, showManualPage);
    }
}

}  // namespace sorvane
