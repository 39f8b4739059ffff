#include "purge/old_id_range.h"

#include "common/run_failure.h"
#include "purge/read_id.h"
#include "purge/sql_identifier.h"

namespace sorvane {

void CheckRunSettings(const PurgeSettings& settings) {
    // Without a name the driver manager falls back to a default driver and
    // leaves a stray file behind instead of saying what is wrong.
    if (settings.dsn.find_first_not_of(" \t") == std::string::npos) {
        throw RunFailure(kInvalidArgument, "No data source name (DSN) is given: nothing to connect to");
    }
    // A negative age moves the cut-off into the future: every row, even one
    // written tomorrow, would be old enough.
    if (settings.days < 0) {
        throw RunFailure(kInvalidArgument, "The age in days must be 0 or more, not " + std::to_string(settings.days));
    }
    // A width of 0 would never leave the first batch and a negative one
    // would walk upwards for ever.
    if (settings.recordsPerTrip < 1) {
        throw RunFailure(kInvalidArgument,
                         "Records per trip must be 1 or more, not " + std::to_string(settings.recordsPerTrip));
    }
    CheckTableName(settings.tableName);
    CheckTimeColumnName(settings.timeColumn);
}

std::optional<OldIdRange> FindOldIdRange(const odbc::Connection& connection, const PurgeSettings& settings,
                                         const std::string& cutOffLiteral) {
    odbc::Statement range(connection);
    range.ExecuteDirect("SELECT min(id), max(id) FROM " + settings.tableName + " WHERE " + settings.timeColumn +
                        " <= " + cutOffLiteral);
    if (!range.Fetch()) return std::nullopt;
    const std::optional<std::string> minText = range.Text(0);
    const std::optional<std::string> maxText = range.Text(1);
    if (!minText || !maxText) return std::nullopt;
    return OldIdRange{ReadId(*minText, "lowest"), ReadId(*maxText, "highest")};
}

std::optional<std::int64_t> HighestOldIdAtMost(odbc::Statement& highestOldId, std::int64_t atMost) {
    highestOldId.SetParameter(1, atMost);
    highestOldId.Execute();
    std::optional<std::string> text;
    if (highestOldId.Fetch()) text = highestOldId.Text(0);
    highestOldId.CloseCursor();
    if (!text) return std::nullopt;
    return ReadId(*text, "highest");
}

}  // namespace sorvane
