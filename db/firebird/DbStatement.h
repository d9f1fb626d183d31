#pragma once

#include <string>

#include "db/firebird/DbBinding.h"
#include "db/firebird/DsqlStatement.h"

namespace zav {

class TDbConnection;
class TDbTransaction;

// Executes one statement that returns no rows. It never opens the connection nor starts or ends
// the transaction: it runs in whatever transaction a query has started.
class TDbStatement : private detail::DbBoundObject {
public:
    TDbStatement(TDbConnection& aConnection, TDbTransaction& aTransaction);
    ~TDbStatement();
    TDbStatement(const TDbStatement&) = delete;
    TDbStatement& operator=(const TDbStatement&) = delete;

    // Drops the prepared statement.
    void SetSQL(std::string aSql);
    const std::string& SQL() const { return sql_; }
    // Prepares when needed and executes once, without parameters; nothing is committed.
    void ExecQuery();

private:
    bool IsOpenQuery() const override { return false; }
    void OnTransactionEnding(bool forced) override;
    void OnConnectionClosing() override;
    void ReleaseHandles() noexcept override;

    TDbConnection& connection_;
    TDbTransaction& transaction_;
    std::string sql_;
    DsqlStatement statement_;
    int statementType_ = 0;
};

}  // namespace zav
