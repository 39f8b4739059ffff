#include "purge/old_id_range.h"

#include <charconv>
#include <limits>

#include "common/run_failure.h"
#include "purge/sql_identifier.h"

namespace sorvane {

namespace {

// An id read as a 32-bit number. Whole numbers written with a zero fraction
// ("125.0", as a REAL id column gives) are accepted; anything else is not an id.
std::int32_t ReadId(const std::string& text, const char* which) {
    std::string digits = text;
    const std::size_t point = digits.find('.');
    if (point != std::string::npos && digits.find_first_not_of('0', point + 1) == std::string::npos) {
        digits.erase(point);
    }
    std::int64_t value = 0;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc::result_out_of_range ||
        (error == std::errc() && end == last &&
         (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()))) {
        throw RunFailure(kOverflow, std::string("Overflow: the ") + which + " id " + text +
                                        " does not fit a 32-bit integer");
    }
    if (error != std::errc() || end != last || first == last) {
        throw RunFailure(kTypeMismatch,
                         std::string("Type mismatch: the ") + which + " id \"" + text + "\" is not a whole number");
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

void CheckRunSettings(const PurgeSettings& settings) {
    if (settings.dsn.find_first_not_of(" \t") == std::string::npos) {
        throw RunFailure(kInvalidArgument, "No data source name (DSN) is given: nothing to connect to");
    }
    if (settings.days < 0) {
        throw RunFailure(kInvalidArgument, "The age in days must be 0 or more, not " + std::to_string(settings.days));
    }
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

std::optional<std::int32_t> HighestOldIdAtMost(odbc::Statement& highestOldId, std::int32_t atMost) {
    highestOldId.SetParameter(1, atMost);
    highestOldId.Execute();
    std::optional<std::string> text;
    if (highestOldId.Fetch()) text = highestOldId.Text(0);
    highestOldId.CloseCursor();
    if (!text) return std::nullopt;
    return ReadId(*text, "highest");
}

}  // namespace sorvane
