#pragma once

#include <ibase.h>

#include <string>

#include "db/firebird/FbClient.h"

namespace zav {

class TDbConnection;
class ResultRow;

// One dynamic SQL statement handle of a connection, with the calls that use it. It owns the
// handle: it is released when the statement is dropped or destroyed. Failures are raised through
// the connection, which closes itself first when the server is gone.
class DsqlStatement {
public:
    DsqlStatement(const FbClient& api, TDbConnection& connection);
    ~DsqlStatement();
    DsqlStatement(const DsqlStatement&) = delete;
    DsqlStatement& operator=(const DsqlStatement&) = delete;

    bool Prepared() const { return handle_ != isc_stmt_handle{}; }
    bool CursorOpen() const { return cursorOpen_; }

    // Runs the parameter scan, allocates the handle and prepares the text (UTF-8, sent as
    // Windows-1252) in the transaction with the connection's dialect. On failure nothing stays
    // allocated.
    void Prepare(isc_tr_handle* transaction, const std::string& sql);
    // Describes the result columns into row and gives them buffers.
    void Describe(ResultRow& row);
    // The statement type the server reports (isc_info_sql_stmt_*).
    int StatementType();

    // Executes once without parameters (isc_dsql_execute); opensCursor tells that the statement
    // is a select, whose cursor then needs closing.
    void Execute(isc_tr_handle* transaction, bool opensCursor);
    // Opens the cursor of a select (isc_dsql_execute2).
    void OpenCursor(isc_tr_handle* transaction);
    // Fetches the next row into row; false at the end of the result.
    bool Fetch(ResultRow& row);
    void CloseCursor();
    void CloseCursorQuietly() noexcept;
    void Drop();
    void DropQuietly() noexcept;

private:
    const FbClient& api_;
    TDbConnection& connection_;
    isc_stmt_handle handle_{};
    bool cursorOpen_ = false;
};

}  // namespace zav
