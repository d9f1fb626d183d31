#include "faults/FaultSupport.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "app/ErrorBox.h"
#include "app/UpdateRun.h"
#include "db/firebird/DatenbankDM.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/DbQuery.h"
#include "db/firebird/DbStatement.h"
#include "db/firebird/DbTransaction.h"
#include "update/TrafikUpdateDM.h"

namespace zav::test {

const char* const kSlowSecondJulyRowTrigger =
    "CREATE TRIGGER MONAT_ERLOS_LANGSAM FOR MONAT_ERLOS ACTIVE BEFORE INSERT POSITION 0 AS "
    "DECLARE VARIABLE i INTEGER = 0; "
    "BEGIN "
    "  IF (NEW.MONAT = 7 AND (SELECT COUNT(*) FROM MONAT_ERLOS "
    "      WHERE MONAT = 7 AND HGR_ARTIKELID = NEW.HGR_ARTIKELID) = 1) THEN "
    "    WHILE (i < 100000000) DO i = i + 1; "
    "END";

namespace {

// A connection of its own. What it writes is committed when it closes.
class Attachment {
public:
    explicit Attachment(const std::string& databaseName)
        : transaction_(connection_),
          query_("dqCheck", connection_, transaction_),
          statement_(connection_, transaction_) {
        connection_.SetDatabaseName(databaseName);
        connection_.Params() = {"user_name=sysdba", "password=quillbarn"};
        transaction_.SetDefaultAction(TransactionAction::Commit);
    }
    ~Attachment() {
        try {
            connection_.Close();
        } catch (...) {
            // A reader that cannot detach has nothing to lose.
        }
    }

    std::vector<std::vector<std::string>> Rows(const std::string& sql) {
        query_.SetSQL(sql);
        query_.Open();
        std::vector<std::vector<std::string>> rows;
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

    void Execute(const std::string& sql) {
        ExecuteUncommitted(sql);
        query_.Close();
        connection_.Close();
    }

    // The transaction stays active with the change until Rollback() or the end of the object.
    void ExecuteUncommitted(const std::string& sql) {
        // A statement runs in the transaction a query has started.
        query_.SetSQL("select 1 from RDB$DATABASE");
        query_.Open();
        statement_.SetSQL(sql);
        statement_.ExecQuery();
    }

    void Rollback() { transaction_.Rollback(); }
    void Commit() { transaction_.Commit(); }

private:
    TDbConnection connection_;
    TDbTransaction transaction_;
    TDbQuery query_;
    TDbStatement statement_;
};

}  // namespace

std::string RunUpdateLikeTheButton(const std::string& databaseName, ClientLibrary& library,
                                   const std::function<void()>& onSuccess) {
    std::string errorBox;
    RunEventHandler(
        [&] {
            TdmDatenbank datenbank(library);
            TdmTrafikUpdate trafikUpdate(datenbank);
            RunUpdate(datenbank, trafikUpdate, databaseName, {}, [&](bool updated) {
                if (updated && onSuccess) {
                    onSuccess();
                }
            });
        },
        [&](const std::string& text) { errorBox = text; });
    return errorBox;
}

void ExecuteOn(const std::string& databaseName, const std::string& sql) {
    Attachment(databaseName).Execute(sql);
}

int OtherAttachments(const std::string& databaseName) {
    return std::stoi(Attachment(databaseName)
                         .Rows("select count(*) from MON$ATTACHMENTS where MON$SYSTEM_FLAG = 0 "
                               "and MON$ATTACHMENT_ID <> CURRENT_CONNECTION")
                         .at(0)
                         .at(0));
}

struct OtherProgram::Components {
    explicit Components(const std::string& databaseName) : attachment(databaseName) {}
    ~Components() { attachment.Rollback(); }
    Components(const Components&) = delete;
    Components& operator=(const Components&) = delete;
    Attachment attachment;
};

OtherProgram::OtherProgram(const std::string& databaseName)
    : components_(std::make_unique<Components>(databaseName)) {}

OtherProgram::~OtherProgram() = default;

void OtherProgram::Hold(const std::string& sql) {
    components_->attachment.ExecuteUncommitted(sql);
}

void OtherProgram::Release() {
    components_->attachment.Rollback();
}

void OtherProgram::Save() {
    components_->attachment.Commit();
}

TableContents ReadTables(const std::string& databaseName) {
    Attachment reader(databaseName);
    return ReadTableContents([&](const std::string& sql) { return reader.Rows(sql); });
}

std::string DifferenceApartFromTheReducedRate(const TableContents& before,
                                              const TableContents& after) {
    std::string difference;
    for (const auto& [table, rows] : after) {
        const auto old = before.find(table);
        if (old == before.end()) {
            difference += "new table " + table + "; ";
            continue;
        }
        if (rows == old->second) {
            continue;
        }
        if (table == "STEUERSATZ" && rows.size() == old->second.size() + 1) {
            std::vector<std::vector<std::string>> added;
            std::set_difference(rows.begin(), rows.end(), old->second.begin(), old->second.end(),
                                std::back_inserter(added));
            // STEUERSATZID, PROZENT, INFO, ...
            if (added.size() == 1 && added[0].at(1) == "5" &&
                added[0].at(2) == "Corona Sondersteuersatz") {
                continue;
            }
        }
        difference += table + " changed (" + std::to_string(old->second.size()) + " rows, now " +
                      std::to_string(rows.size()) + "); ";
    }
    if (before.size() != after.size()) {
        difference += "a table went missing; ";
    }
    return difference;
}

}  // namespace zav::test
