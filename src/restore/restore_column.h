#pragma once
// One column of the table a backup goes back into, and how a backup field
// becomes that column's value.

#include <optional>
#include <string>

namespace sorvane {

struct RestoreColumn {
    std::string name;
    int sqlType = 0;         // ODBC SQL type from the catalog
    long columnSize = 0;
    int decimalDigits = 0;
    bool nullable = true;
};

// The value a backup field stands for, in the ODBC text form the driver
// converts to the column's type, or nothing for NULL:
//  - empty: NULL where the column allows it, else '' for text (other types
//    are refused);
//  - integers: optional sign and digits;
//  - decimals and floating point: the locale's decimal separator or a point,
//    floating point also with an exponent; given back with a point;
//  - timestamps: the general date form or ISO 8601, date only meaning
//    midnight, a fraction of a second after the locale's decimal separator
//    or a point; given back as "YYYY-MM-DD HH:MM:SS[.fraction]";
//  - dates: the short date or ISO "YYYY-MM-DD"; times: the long time or
//    "HH:MM:SS", each with an optional fraction;
//  - text, binary and every other type: the field as it is.
// Raises RunFailure (kInvalidArgument) saying what the field is not.
std::optional<std::string> ConvertBackupField(const RestoreColumn& column, const std::string& field);

}  // namespace sorvane
