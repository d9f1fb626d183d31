#pragma once

#include <optional>
#include <string>

#include "db/firebird/ClientHandle.h"

namespace zav {

class TDbConnection;
class ResultRow;
struct FbClient;
struct StatusVector;

// One dynamic SQL statement handle of a connection, with the calls that use it. It owns the
// handle: it is released when the statement is dropped or destroyed. Failures are raised through
// the connection, which closes itself first when the server is gone.
class DsqlStatement {
public:
    explicit DsqlStatement(TDbConnection& connection);
    ~DsqlStatement();
    DsqlStatement(const DsqlStatement&) = delete;
    DsqlStatement& operator=(const DsqlStatement&) = delete;

    bool Prepared() const { return handle_ != ClientHandle{}; }

    // Runs the parameter scan, frees a statement prepared before, allocates the handle and
    // prepares the text (UTF-8, sent as Windows-1252) in the transaction with the connection's
    // dialect. On failure nothing stays allocated.
    void Prepare(ClientHandle* transaction, const std::string& sql);
    // Describes the result columns into row and gives them buffers.
    void Describe(ResultRow& row);
    // The statement type the server reports (isc_info_sql_stmt_*).
    int StatementType();

    // Executes once without parameters (isc_dsql_execute); opensCursor tells that the statement
    // is a select, whose cursor then needs closing.
    void Execute(ClientHandle* transaction, bool opensCursor);
    // Opens the cursor of a select (isc_dsql_execute2).
    void OpenCursor(ClientHandle* transaction);
    // Fetches the next row into row; false at the end of the result.
    bool Fetch(ResultRow& row);
    void CloseCursor();
    void CloseCursorQuietly() noexcept;
    void Drop();
    void DropQuietly() noexcept;

private:
    // Closes the cursor (DSQL_close) or drops the statement (DSQL_drop) where there is one,
    // forgetting what it ends either way; the status when the library refused.
    std::optional<StatusVector> Free(unsigned short option) noexcept;

    const FbClient& api_;
    TDbConnection& connection_;
    ClientHandle handle_{};
    bool cursorOpen_ = false;
};

}  // namespace zav
