// Text parameters of a prepared statement: every value handed over in its
// ODBC text form and converted by the driver to the column's type, so that
// one binding serves integers, decimals, times and text alike.

#include <sqlext.h>

#include <algorithm>

#include "odbc/diagnostics.h"
#include "odbc/statement.h"

namespace sorvane::odbc {

std::size_t Statement::AddTextParameter(int sqlType, std::size_t columnSize, int decimalDigits) {
    TextParameter& parameter = textParameters_.emplace_back();
    parameter.position = parameters_.size() + textParameters_.size();
    parameter.sqlType = sqlType;
    parameter.columnSize = columnSize;
    parameter.decimalDigits = decimalDigits;
    try {
        BindText(parameter);
    } catch (...) {
        textParameters_.pop_back();
        throw;
    }
    return parameter.position;
}

void Statement::SetTextParameter(std::size_t position, const std::optional<std::string>& value) {
    const std::size_t first = parameters_.size() + 1;
    if (position < first || position >= first + textParameters_.size()) {
        throw RunFailure(kInvalidArgument, "No text parameter at position " + std::to_string(position));
    }
    TextParameter& parameter = textParameters_[position - first];
    parameter.value = value.value_or("");
    parameter.indicator = value ? static_cast<SQLLEN>(parameter.value.size()) : SQL_NULL_DATA;
    // The text may have moved to a new buffer: bound again with its address.
    BindText(parameter);
}

void Statement::BindText(TextParameter& parameter) {
    // Never less than the value: a driver may cut a text to the size it is
    // told, where the database would refuse what does not fit. Some
    // drivers refuse a size of 0.
    const SQLULEN size = std::max<SQLULEN>({1, parameter.columnSize, parameter.value.size()});
    Check(SQLBindParameter(handle_, static_cast<SQLUSMALLINT>(parameter.position), SQL_PARAM_INPUT, SQL_C_CHAR,
                           static_cast<SQLSMALLINT>(parameter.sqlType), size,
                           static_cast<SQLSMALLINT>(parameter.decimalDigits), parameter.value.data(),
                           static_cast<SQLLEN>(parameter.value.size()), &parameter.indicator),
          SQL_HANDLE_STMT, handle_, "Binding a parameter");
}

}  // namespace sorvane::odbc
