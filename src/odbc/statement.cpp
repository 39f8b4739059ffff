#include "odbc/statement.h"

#include <sqlext.h>

#include <utility>

#include "odbc/diagnostics.h"
#include "common/run_failure.h"

namespace sorvane::odbc {

namespace {

SQLCHAR* SqlText(const std::string& sql) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str()));
}

SQLUSMALLINT ColumnNumber(int column) { return static_cast<SQLUSMALLINT>(column + 1); }

}  // namespace

Statement::Statement(const Connection& connection) : connection_(&connection) {
    Check(SQLAllocHandle(SQL_HANDLE_STMT, connection.Handle(), &handle_), SQL_HANDLE_DBC,
          connection.Handle(), "Allocating a statement");
    const SQLRETURN result =
        SQLSetStmtAttr(handle_, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(0), 0);
    // A driver that cannot set a query time limit has none, which is what we want.
    if (result == SQL_INVALID_HANDLE) {
        SQLFreeHandle(SQL_HANDLE_STMT, handle_);
        throw RunFailure(0, "The driver gave an unusable statement handle");
    }
}

Statement::~Statement() { Free(); }

Statement::Statement(Statement&& other) noexcept
    : connection_(other.connection_),
      handle_(std::exchange(other.handle_, static_cast<SQLHSTMT>(SQL_NULL_HSTMT))),
      parameters_(std::move(other.parameters_)),
      textParameters_(std::move(other.textParameters_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Free();
        connection_ = other.connection_;
        handle_ = std::exchange(other.handle_, static_cast<SQLHSTMT>(SQL_NULL_HSTMT));
        parameters_ = std::move(other.parameters_);
        textParameters_ = std::move(other.textParameters_);
    }
    return *this;
}

void Statement::Free() noexcept {
    if (handle_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    handle_ = SQL_NULL_HSTMT;
}

bool Statement::Succeeded(SQLRETURN result, const char* context) {
    if (result == SQL_NO_DATA) return false;
    Check(result, SQL_HANDLE_STMT, handle_, context);
    return true;
}

bool Statement::ExecuteDirect(const std::string& sql) {
    return Succeeded(SQLExecDirect(handle_, SqlText(sql), SQL_NTS), "Running a statement");
}

void Statement::Prepare(const std::string& sql) {
    Check(SQLPrepare(handle_, SqlText(sql), SQL_NTS), SQL_HANDLE_STMT, handle_,
          "Preparing a statement");
}

std::size_t Statement::AddBigIntParameter() {
    IntegerParameter& parameter = parameters_.emplace_back();
    const std::size_t position = parameters_.size();
    const SQLRETURN result =
        SQLBindParameter(handle_, static_cast<SQLUSMALLINT>(position), SQL_PARAM_INPUT, SQL_C_SBIGINT,
                         SQL_BIGINT, 0, 0, &parameter.value, 0, &parameter.indicator);
    if (!SQL_SUCCEEDED(result)) {
        parameters_.pop_back();
        Check(result, SQL_HANDLE_STMT, handle_, "Binding a parameter");
    }
    return position;
}

void Statement::SetParameter(std::size_t position, std::int64_t value) {
    if (position < 1 || position > parameters_.size()) {
        throw RunFailure(kInvalidArgument, "No parameter at position " + std::to_string(position));
    }
    parameters_[position - 1].value = value;
}

bool Statement::Execute() { return Succeeded(SQLExecute(handle_), "Running a prepared statement"); }

std::int64_t Statement::RowCount() const {
    SQLLEN count = 0;
    Check(SQLRowCount(handle_, &count), SQL_HANDLE_STMT, handle_, "Counting changed rows");
    return count;
}

int Statement::ColumnCount() const {
    SQLSMALLINT count = 0;
    Check(SQLNumResultCols(handle_, &count), SQL_HANDLE_STMT, handle_, "Counting result columns");
    return count;
}

int Statement::ColumnType(int column) const {
    SQLLEN type = 0;
    Check(SQLColAttribute(handle_, ColumnNumber(column), SQL_DESC_CONCISE_TYPE, nullptr, 0, nullptr,
                          &type),
          SQL_HANDLE_STMT, handle_, "Reading a column's type");
    return static_cast<int>(type);
}

std::string Statement::ColumnName(int column) const {
    SQLCHAR name[512] = {0};
    SQLSMALLINT length = 0;
    Check(SQLColAttribute(handle_, ColumnNumber(column), SQL_DESC_NAME, name, sizeof name, &length,
                          nullptr),
          SQL_HANDLE_STMT, handle_, "Reading a column's name");
    return reinterpret_cast<const char*>(name);
}

bool Statement::Fetch() { return Succeeded(SQLFetch(handle_), "Reading a row"); }

std::optional<std::string> Statement::Text(int column) {
    std::string text;
    char buffer[4096];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN result = SQLGetData(handle_, ColumnNumber(column), SQL_C_CHAR, buffer,
                                            sizeof buffer, &indicator);
        if (result == SQL_NO_DATA) break;  // every piece has been read
        Check(result, SQL_HANDLE_STMT, handle_, "Reading a value");
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        // A piece fills the buffer but for its terminating zero whenever more
        // is to come (the total is then unknown or larger than the buffer).
        const std::size_t room = sizeof buffer - 1;
        const std::size_t piece = (indicator == SQL_NO_TOTAL || indicator < 0 ||
                                   static_cast<std::size_t>(indicator) > room)
                                      ? room
                                      : static_cast<std::size_t>(indicator);
        text.append(buffer, piece);
        if (result == SQL_SUCCESS) break;
    }
    return text;
}

void Statement::CloseCursor() { SQLFreeStmt(handle_, SQL_CLOSE); }

}  // namespace sorvane::odbc
