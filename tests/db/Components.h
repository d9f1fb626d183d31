#pragma once

#include <string>

#include "db/firebird/DbConnection.h"
#include "db/firebird/DbQuery.h"
#include "db/firebird/DbStatement.h"
#include "db/firebird/DbTransaction.h"

namespace zav::test {

// A connection and a transaction set up as the tool's module sets up its own (automatic start,
// stop by commit, commit by default), with two queries and a statement bound to them.
struct Components {
    explicit Components(const std::string& path)
        : transaction(connection),
          first("dqQuery", connection, transaction),
          second("dqZweite", connection, transaction),
          statement(connection, transaction) {
        connection.SetDatabaseName(path);
        connection.Params() = {"user_name=sysdba", "password=quillbarn"};
        transaction.SetAutoStopAction(TransactionAction::Commit);
        transaction.SetDefaultAction(TransactionAction::Commit);
    }

    void Execute(const std::string& sql) {
        statement.SetSQL(sql);
        statement.ExecQuery();
    }

    void OpenFirst(const std::string& sql) {
        first.SetSQL(sql);
        first.Open();
    }

    TDbConnection connection;
    TDbTransaction transaction;
    TDbQuery first;
    TDbQuery second;
    TDbStatement statement;
};

}  // namespace zav::test
