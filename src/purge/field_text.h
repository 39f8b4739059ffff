#pragma once
// A database value in the text form a backup holds: under the user's
// regional settings, as the user would read it.

#include <optional>
#include <string>

namespace sorvane {

// `value` is the driver's text of the value (nothing for NULL) and `sqlType`
// the column's ODBC SQL type. NULL gives empty text; numbers get the
// locale's decimal separator; dates and times the general date form (the
// time left out at midnight), a fraction of a second that is not zero kept
// after the seconds so that no stored value is lost. Text,
// and any value that does not read as its column's type, stays as it is.
std::string FieldText(int sqlType, const std::optional<std::string>& value);

}  // namespace sorvane
