#include "db/firebird/DbStatement.h"

#include <ibase.h>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/DbTransaction.h"

namespace zav {
namespace {

constexpr const char* kNotConnected =
    "Operation kann nicht ausgeführt werden -- DB ist nicht geöffnet";
constexpr const char* kNotActive = "Transaktion ist nicht aktiv";

// Blob segments and transaction control would go around the layer's own handles.
bool IsRefusedType(int type) {
    return type == isc_info_sql_stmt_get_segment || type == isc_info_sql_stmt_put_segment ||
           type == isc_info_sql_stmt_start_trans;
}

bool OpensCursor(int type) {
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

}  // namespace

TDbStatement::TDbStatement(TDbConnection& aConnection, TDbTransaction& aTransaction)
    : connection_(aConnection), transaction_(aTransaction), statement_(aConnection) {
    connection_.Bind(this);
    transaction_.Bind(this);
}

TDbStatement::~TDbStatement() {
    statement_.DropQuietly();
    transaction_.Unbind(this);
    connection_.Unbind(this);
}

void TDbStatement::SetSQL(std::string aSql) {
    statement_.Drop();
    sql_ = std::move(aSql);
}

void TDbStatement::ExecQuery() {
    if (!statement_.Prepared()) {
        if (!connection_.Connected()) {
            throw DatabaseError(kNotConnected);
        }
        if (!transaction_.Active()) {
            throw DatabaseError(kNotActive);
        }
        if (sql_.empty()) {  // blanks alone go to the server, which names the fault
            throw DatabaseError("Leere Abfrage");
        }
        statement_.Prepare(transaction_.Handle(), sql_);
        statementType_ = statement_.StatementType();
        if (IsRefusedType(statementType_)) {
            statement_.DropQuietly();
            throw DatabaseError("Nicht zulässig");
        }
    }
    if (!transaction_.Active()) {
        throw DatabaseError(kNotActive);
    }
    // A select executed before still has its cursor open; a second run needs it closed.
    statement_.CloseCursor();
    statement_.Execute(transaction_.Handle(), OpensCursor(statementType_));
}

void TDbStatement::OnTransactionEnding(bool forced) {
    if (forced) {
        statement_.CloseCursorQuietly();
    } else {
        statement_.CloseCursor();
    }
}

void TDbStatement::OnConnectionClosing() {
    statement_.CloseCursor();
    statement_.Drop();
}

void TDbStatement::ReleaseHandles() noexcept {
    statement_.DropQuietly();
}

}  // namespace zav
