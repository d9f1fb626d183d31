#pragma once

#include <string>
#include <vector>

#include "db/firebird/DbConnection.h"
#include "db/firebird/DbQuery.h"
#include "db/firebird/DbStatement.h"
#include "db/firebird/DbTransaction.h"

namespace zav::test {

using Rows = std::vector<std::vector<std::string>>;

// A second connection beside the one under test, as SYSDBA with the test server's password (the
// embedded engine checks none). The database name may name a file or reach it through a server.
// Its transaction starts with the first statement and is committed when it closes.
class Attachment {
public:
    explicit Attachment(const std::string& databaseName);
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    // Every row of a select; each value as text ("" for null).
    Rows Select(const std::string& sql);
    // Runs one statement and commits it as the connection closes.
    void Execute(const std::string& sql);
    // The transaction stays active with the change until Rollback(), Commit() or the end.
    void ExecuteUncommitted(const std::string& sql);
    void Rollback() { transaction_.Rollback(); }
    void Commit() { transaction_.Commit(); }

private:
    TDbConnection connection_;
    TDbTransaction transaction_;
    TDbQuery query_;
    TDbStatement statement_;
};

// Runs one statement on an attachment of its own and commits it.
void ExecuteOn(const std::string& databaseName, const std::string& sql);

// How many attachments besides the caller's own the database has (the engine's own not counted):
// what a run of the tool left alive.
int OtherAttachments(const std::string& databaseName);

}  // namespace zav::test
