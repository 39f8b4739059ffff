#pragma once
// The database session's time zone set to the client's, so that the cut-off
// (the client's local midnight) and the times a backup shows mean what the
// client's clock means, also for columns that hold an instant (PostgreSQL
// timestamptz, MariaDB TIMESTAMP) on a server in another zone.

#include <ctime>
#include <string>

#include "odbc/connection.h"

namespace sorvane {

struct ClientTimeZone {
    std::string name;       // "Europe/Berlin", or empty when the client's zone has no known name
    std::string utcOffset;  // "+01:00": the client's offset at the cut-off
};

// The client's zone: its name from TZ or /etc/localtime, and its offset
// from UTC at `cutOff` (a local time).
ClientTimeZone FindClientTimeZone(std::time_t cutOff);

// Sets the session's zone on PostgreSQL and MariaDB/MySQL: by name where the
// server knows it (so daylight saving follows the client's rules), else as
// the fixed offset. Other databases have no session zone and are left alone.
void SetSessionTimeZone(const odbc::Connection& connection, const ClientTimeZone& zone);

}  // namespace sorvane
