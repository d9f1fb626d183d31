#include "db/firebird/DsqlStatement.h"

#include <algorithm>
#include <optional>

#include "db/firebird/DbConnection.h"
#include "db/firebird/ParamScan.h"
#include "db/firebird/internal/FbClient.h"
#include "db/firebird/internal/ResultRow.h"
#include "db/firebird/internal/StatusVector.h"
#include "db/values/Windows1252.h"

namespace zav {
namespace {

// Enough columns for most selects; a wider result is described a second time.
constexpr int kInitialColumns = 32;
// What isc_dsql_fetch gives after the last row.
constexpr ISC_STATUS kNoMoreRows = 100;

}  // namespace

DsqlStatement::DsqlStatement(TDbConnection& connection)
    : api_(connection.api_), connection_(connection) {}

DsqlStatement::~DsqlStatement() {
    DropQuietly();
}

void DsqlStatement::Prepare(ClientHandle* transaction, const std::string& sql) {
    const std::string text = Utf8ToWindows1252(ScanSqlParameters(sql).text);
    DropQuietly();  // a statement prepared before
    StatusVector status;
    if (connection_.Call([&] {
            return api_.dsqlAllocStatement2(status.get(), connection_.Handle(), &handle_);
        }) != 0) {
        handle_ = {};
        connection_.Raise(status, ClientCall::Statement);
    }
    if (connection_.Call([&] {
            return api_.dsqlPrepare(status.get(), transaction, &handle_, 0, text.c_str(),
                                    static_cast<unsigned short>(connection_.SqlDialect()),
                                    nullptr);
        }) != 0) {
        DropQuietly();
        connection_.Raise(status, ClientCall::Statement);
    }
}

void DsqlStatement::Describe(ResultRow& row) {
    int capacity = kInitialColumns;
    for (;;) {
        XSQLDA* da = row.Reserve(capacity);
        StatusVector status;
        if (connection_.Call([&] {
                return api_.dsqlDescribe(status.get(), &handle_, SQLDA_VERSION1, da);
            }) != 0) {
            row.Clear();
            connection_.Raise(status, ClientCall::Statement);
        }
        const int missing = row.MissingCapacity();
        if (missing == 0) {
            break;
        }
        capacity = missing;
    }
    row.Bind();
}

int DsqlStatement::StatementType() {
    const char items[] = {isc_info_sql_stmt_type};
    char answer[16] = {};
    StatusVector status;
    if (connection_.Call([&] {
            return api_.dsqlSqlInfo(status.get(), &handle_, sizeof items, items, sizeof answer,
                                    answer);
        }) != 0) {
        connection_.Raise(status, ClientCall::Statement);
    }
    if (answer[0] != isc_info_sql_stmt_type) {
        return 0;
    }
    // The item, the length of its value in two bytes, then the value.
    const auto* bytes = reinterpret_cast<const ISC_UCHAR*>(answer);
    const auto length = static_cast<short>(api_.portableInteger(bytes + 1, 2));
    return static_cast<int>(api_.portableInteger(bytes + 3, std::min<short>(length, 4)));
}

void DsqlStatement::Execute(ClientHandle* transaction, bool opensCursor) {
    StatusVector status;
    if (connection_.Call([&] {
            return api_.dsqlExecute(status.get(), transaction, &handle_, SQLDA_VERSION1, nullptr);
        }) != 0) {
        connection_.Raise(status, ClientCall::Statement);
    }
    cursorOpen_ = opensCursor;
}

void DsqlStatement::OpenCursor(ClientHandle* transaction) {
    StatusVector status;
    if (connection_.Call([&] {
            return api_.dsqlExecute2(status.get(), transaction, &handle_, SQLDA_VERSION1, nullptr,
                                     nullptr);
        }) != 0) {
        connection_.Raise(status, ClientCall::Statement);
    }
    cursorOpen_ = true;
}

bool DsqlStatement::Fetch(ResultRow& row) {
    StatusVector status;
    const ISC_STATUS result = connection_.Call(
        [&] { return api_.dsqlFetch(status.get(), &handle_, SQLDA_VERSION1, row.Descriptor()); });
    if (result == kNoMoreRows) {
        return false;
    }
    if (result != 0) {
        connection_.Raise(status, ClientCall::Statement);
    }
    return true;
}

void DsqlStatement::CloseCursor() {
    if (const std::optional<StatusVector> refused = Free(DSQL_close)) {
        connection_.Raise(*refused, ClientCall::Statement);
    }
}

void DsqlStatement::CloseCursorQuietly() noexcept {
    Free(DSQL_close);
}

void DsqlStatement::Drop() {
    if (const std::optional<StatusVector> refused = Free(DSQL_drop)) {
        connection_.Raise(*refused, ClientCall::Statement);
    }
}

void DsqlStatement::DropQuietly() noexcept {
    Free(DSQL_drop);
}

std::optional<StatusVector> DsqlStatement::Free(unsigned short option) noexcept {
    if (option == DSQL_close ? !cursorOpen_ : !Prepared()) {
        return std::nullopt;
    }
    cursorOpen_ = false;
    StatusVector status;
    const ISC_STATUS result = connection_.Call(
        [&] { return api_.dsqlFreeStatement(status.get(), &handle_, option); });
    if (option == DSQL_drop) {
        handle_ = {};  // a handle the library refused to free is of no further use either
    }
    if (result == 0) {
        return std::nullopt;
    }
    return status;
}

}  // namespace zav
