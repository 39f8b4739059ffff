#include "purge/session_time_zone.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/run_failure.h"
#include "odbc/statement.h"

namespace sorvane {

namespace {

constexpr const char* kZoneFolder = "/usr/share/zoneinfo/";

// Only names made of these characters go into SQL text.
bool IsPlainZoneName(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return false;
    for (const char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           c == '/' || c == '_' || c == '-' || c == '+';
        if (!plain) return false;
    }
    return true;
}

// "Europe/Berlin" from ".../zoneinfo/Europe/Berlin"; empty for anything else.
std::string NameAfterZoneFolder(const std::string& path) {
    const std::string marker = "zoneinfo/";
    const std::size_t at = path.rfind(marker);
    if (at == std::string::npos) return {};
    std::string name = path.substr(at + marker.size());
    // The posix/ and right/ trees hold the same zones under a prefix.
    for (const char* tree : {"posix/", "right/"}) {
        if (name.rfind(tree, 0) == 0) name.erase(0, std::string(tree).size());
    }
    return name;
}

std::string ClientZoneName() {
    const char* tz = std::getenv("TZ");
    std::string name;
    if (tz == nullptr) {
        std::error_code error;
        name = NameAfterZoneFolder(std::filesystem::read_symlink("/etc/localtime", error).string());
    } else if (*tz == '\0') {
        name = "UTC";  // as the C library reads an empty TZ
    } else {
        name = tz + (*tz == ':' ? 1 : 0);
        if (!name.empty() && name.front() == '/') {
            name = NameAfterZoneFolder(name);
        } else if (!std::filesystem::is_regular_file(kZoneFolder + name)) {
            name.clear();  // a POSIX rule such as "CET-1CEST" names no zone
        }
    }
    return IsPlainZoneName(name) ? name : std::string();
}

std::string UtcOffsetText(long seconds) {
    const char sign = seconds < 0 ? '-' : '+';
    const long minutes = std::labs(seconds) / 60;
    char text[48];
    std::snprintf(text, sizeof text, "%c%02ld:%02ld", sign, minutes / 60, minutes % 60);
    return text;
}

// Local time minus UTC at `moment`, from the two broken-down times (struct tm
// has no offset field on every platform). They are at most a day apart.
long UtcOffsetAt(std::time_t moment) {
    std::tm local{};
    std::tm utc{};
    localtime_r(&moment, &local);
    gmtime_r(&moment, &utc);
    long days = 0;
    if (local.tm_year != utc.tm_year) {
        days = local.tm_year > utc.tm_year ? 1 : -1;
    } else {
        days = local.tm_yday - utc.tm_yday;
    }
    return ((days * 24 + (local.tm_hour - utc.tm_hour)) * 60 + (local.tm_min - utc.tm_min)) * 60 +
           (local.tm_sec - utc.tm_sec);
}

}  // namespace

ClientTimeZone FindClientTimeZone(std::time_t cutOff) {
    return {ClientZoneName(), UtcOffsetText(UtcOffsetAt(cutOff))};
}

void SetSessionTimeZone(const odbc::Connection& connection, const ClientTimeZone& zone) {
    const odbc::Dialect& dialect = connection.SqlDialect();
    if (!dialect.HasSessionTimeZone()) return;
    if (!zone.name.empty()) {
        try {
            odbc::Statement(connection).ExecuteDirect(dialect.SetTimeZoneSql(zone.name, false));
            return;
        } catch (const RunFailure&) {
            // MariaDB knows zone names only when its zone tables are loaded.
        }
    }
    try {
        odbc::Statement(connection).ExecuteDirect(dialect.SetTimeZoneSql(zone.utcOffset, true));
    } catch (const RunFailure& failure) {
        // Going on in the server's zone could delete rows younger than the
        // cut-off (MariaDB takes offsets up to +13:00 only).
        throw RunFailure(failure.Number(), "The database does not take the client's time zone (UTC" +
                                               zone.utcOffset + "): " + failure.Description());
    }
}

}  // namespace sorvane
