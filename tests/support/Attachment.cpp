#include "support/Attachment.h"

namespace zav::test {

Attachment::Attachment(const std::string& databaseName)
    : transaction_(connection_),
      query_("dqCheck", connection_, transaction_),
      statement_(connection_, transaction_) {
    connection_.SetDatabaseName(databaseName);
    connection_.Params() = {"user_name=sysdba", "password=quillbarn"};
    transaction_.SetDefaultAction(TransactionAction::Commit);
}

Attachment::~Attachment() {
    try {
        connection_.Close();
    } catch (...) {
        // A reader that cannot detach has nothing to lose; Execute closes on its own.
    }
}

Rows Attachment::Select(const std::string& sql) {
    query_.SetSQL(sql);
    query_.Open();
    Rows rows;
    for (; !query_.Eof(); query_.Next()) {
        std::vector<std::string> row;
        for (int i = 0; i < query_.FieldCount(); ++i) {
            row.push_back(query_.Field(i).AsString());
        }
        rows.push_back(std::move(row));
    }
    query_.Close();
    return rows;
}

void Attachment::Execute(const std::string& sql) {
    ExecuteUncommitted(sql);
    query_.Close();
    connection_.Close();
}

void Attachment::ExecuteUncommitted(const std::string& sql) {
    // A statement runs in the transaction a query has started.
    query_.SetSQL("select 1 from RDB$DATABASE");
    query_.Open();
    statement_.SetSQL(sql);
    statement_.ExecQuery();
}

void ExecuteOn(const std::string& databaseName, const std::string& sql) {
    Attachment(databaseName).Execute(sql);
}

int OtherAttachments(const std::string& databaseName) {
    return std::stoi(Attachment(databaseName)
                         .Select("select count(*) from MON$ATTACHMENTS where MON$SYSTEM_FLAG = 0 "
                                 "and MON$ATTACHMENT_ID <> CURRENT_CONNECTION")
                         .at(0)
                         .at(0));
}

}  // namespace zav::test
