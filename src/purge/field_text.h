#pragma once
// A database value in the text form a backup holds: under the user's
// regional settings, as the user would read it.

#include <optional>
#include <string>
#include <string_view>

#include "common/regional.h"

namespace sorvane {

// Gives values their backup text under the regional settings as they were
// when it was made, read once rather than for every value.
//
// `value` is the driver's text of the value (nothing for NULL) and `sqlType`
// the column's ODBC SQL type. NULL gives empty text; numbers get the
// locale's decimal separator; dates and times the general date form (the
// time left out at midnight), a fraction of a second that is not zero kept
// after the seconds so that no stored value is lost. Text,
// and any value that does not read as its column's type, stays as it is.
class FieldTextWriter {
public:
    FieldTextWriter();

    // The value's text: `value` itself when it stays as it is, else text
    // written into `scratch` (whose earlier content is dropped).
    std::string_view Text(int sqlType, std::optional<std::string_view> value, std::string& scratch) const;

private:
    std::string decimalSeparator_;
    DateTimeForms dates_;
};

// The same for a single value, under the regional settings of the moment.
std::string FieldText(int sqlType, const std::optional<std::string>& value);

}  // namespace sorvane
