#pragma once
// The job description of one purge run. Both callers (the command line and
// the window's run commands) fill it; the engine only reads it.

#include <cstdint>
#include <string>
#include <variant>

namespace sorvane {

// Booleans handed between procedures: true is -1, false is 0.
using Bool16 = std::int16_t;
constexpr Bool16 kTrue16 = -1;
constexpr Bool16 kFalse16 = 0;

// `overwrite` and `includeDate` hold either the number given by the window's
// check box (0 or 1) or the text typed after the command-line option. The
// engine reads them as numbers only where it uses them (see IsOn in the export).
using NumberOrText = std::variant<int, std::string>;

struct PurgeSettings {
    std::int16_t days = 7;
    std::string dsn;
    std::string tableName = "SystemEvents";
    std::string userName;
    std::string password;
    std::int32_t recordsPerTrip = 10;  // the batch width, 1 or more
    std::string timeColumn = "ReceivedAt";
    std::string separator = ",";
    std::string escapeText = "\"";
    std::string fileName = "BackupFile";
    std::string fileExtension = ".csv";
    Bool16 deleteRows = kFalse16;
    Bool16 backupRows = kFalse16;
    std::string filePath;
    NumberOrText overwrite = 0;
    NumberOrText includeDate = 0;
    // 0 for a window run. The run itself does not ask: the host it is given
    // carries the window's steps.
    std::int16_t commandLineMode = 1;
};

}  // namespace sorvane
