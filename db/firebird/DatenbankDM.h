#pragma once

#include <cstdint>
#include <string>

#include "db/firebird/DbConnection.h"
#include "db/firebird/DbQuery.h"
#include "db/firebird/DbStatement.h"
#include "db/firebird/DbTransaction.h"

namespace zav {

// The tool's one connection to the accounting database, its transaction, a query and a statement.
// The operations leave dqQuery open, so trMain stays active for the statements that follow; the
// transaction commits when the last open query closes or the connection closes. A write, or a
// read of a row that another program has changed but not saved, waits at most a few seconds for
// it, then fails with LockConflictError. The run's calls are bounded where the run starts
// (RunBound).
class TdmDatenbank {
public:
    // Throws ClientLibraryError when the client library is missing.
    explicit TdmDatenbank(ClientLibrary& library = ClientLibrary::System());

    TDbConnection dbMain;
    TDbTransaction trMain;
    TDbStatement sqlMain;
    TDbQuery dqQuery;

    // Disconnects, then attaches to the file named exactly as given.
    void Connect(const std::string& aDbFilePath);
    // Closes the connection, committing what is open; does nothing when closed.
    void Disconnect();
    // The first year of the accounting file (EINSTELLUNGEN 'Datum.AnfangsJahr').
    std::int32_t GetJahr();
    // The id of the first tax rate with the percentage; raises when there is none.
    std::int32_t GetSteuersatzId(std::int32_t aProzent);
    // Inserts the 5 % rate "Corona Sondersteuersatz" unless a 5 % rate exists.
    void UpdateSteuersatz();
};

}  // namespace zav
