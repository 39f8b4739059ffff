#pragma once
// What a run works out before its first batch, shared by the purge run and
// the dry run: the settings checked, the id range of the old rows, and the
// next old id below an empty batch.

#include <cstdint>
#include <optional>
#include <string>

#include "odbc/connection.h"
#include "odbc/statement.h"
#include "purge/purge_settings.h"

namespace sorvane {

// Raises RunFailure for settings a run refuses before connecting: no data
// source name, a negative age, a width below 1, an unusable table or time
// column name.
void CheckRunSettings(const PurgeSettings& settings);

struct OldIdRange {
    std::int64_t minId;
    std::int64_t maxId;
};

// min(id) and max(id) of the rows on or before `cutOffLiteral`, or nothing
// when there is no such row. Raises RunFailure for an id that is no whole
// number or does not fit 64 bits.
std::optional<OldIdRange> FindOldIdRange(const odbc::Connection& connection, const PurgeSettings& settings,
                                         const std::string& cutOffLiteral);

// The highest old id at or below `atMost`, if any; `highestOldId` is
// prepared with HighestOldIdSql and one 64-bit parameter.
std::optional<std::int64_t> HighestOldIdAtMost(odbc::Statement& highestOldId, std::int64_t atMost);

}  // namespace sorvane
