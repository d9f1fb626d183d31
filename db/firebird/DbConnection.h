#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "db/firebird/ClientHandle.h"
#include "db/firebird/ClientLibrary.h"
#include "db/firebird/DbBinding.h"

namespace zav {

class TDbTransaction;
struct StatusVector;
enum class ClientCall;

// The attachment to one database file. Transactions, queries and statements bound to it must be
// destroyed before it.
class TDbConnection {
public:
    // Calls the given client library, loading it first when needed; throws ClientLibraryError when
    // it is missing.
    explicit TDbConnection(ClientLibrary& library = ClientLibrary::System());
    // Closes an open connection without committing: what is still open is rolled back.
    ~TDbConnection();
    TDbConnection(const TDbConnection&) = delete;
    TDbConnection& operator=(const TDbConnection&) = delete;

    // Only while closed; the name is used exactly as given.
    void SetDatabaseName(std::string aDatabaseName);
    const std::string& DatabaseName() const { return databaseName_; }
    // Lines "name=value"; only user_name and password are understood.
    std::vector<std::string>& Params() { return params_; }
    // How long an attach through a server waits for it to answer; 0 leaves it to the client.
    void SetConnectTimeoutSeconds(int aSeconds) { connectTimeoutSeconds_ = aSeconds; }

    // Attaches; does nothing when open.
    void Open();
    // Closes bound queries (committing by the stop rule), ends every transaction still active by
    // its default action, detaches. When a step raises, a refused commit included, the connection
    // is closed forcibly (what is still open is rolled back) and the error raised: it is closed
    // afterwards either way.
    void Close();
    bool Connected() const { return handle_ != ClientHandle{}; }
    // 3 until a database of a lower dialect is opened; never raised again.
    int SqlDialect() const { return sqlDialect_; }

private:
    friend class TDbTransaction;
    friend class TDbQuery;
    friend class TDbStatement;
    friend class DsqlStatement;
    friend class RunWatchdog;

    // How a run's watchdog ended a call that overran the run's bound; set from its thread.
    enum class Interruption { None, Cancelled, CutOff };

    void Bind(detail::DbBoundObject* object);
    void Unbind(detail::DbBoundObject* object);
    void BindTransaction(TDbTransaction* transaction);
    void UnbindTransaction(TDbTransaction* transaction);

    ClientHandle* Handle() { return &handle_; }
    // Raises the error of a failed client call, with German advice before the server's text where
    // the operator can act on it (FaultAdvice); closes the connection by force first when the
    // failure means the server is gone.
    [[noreturn]] void Raise(const StatusVector& status, ClientCall call);
    // Releases every handle, rolls back every active transaction, detaches, all errors ignored.
    // Never commits: a connection closed by force may be one whose state is unknown. An attachment
    // that refuses to detach is cut off first, so none stays behind in the process. Safe to call
    // when already closed, and from within itself.
    void CloseForcibly() noexcept;
    // The attach parameters; utf8Name adds the flag that the database name is in UTF-8.
    std::string ParameterBlock(bool utf8Name) const;
    void ReadDialect();

    const FbClient& api_;
    std::string databaseName_;
    std::vector<std::string> params_;
    ClientHandle handle_{};
    int sqlDialect_;
    int connectTimeoutSeconds_ = 0;
    bool closingForcibly_ = false;
    std::atomic<Interruption> interruption_ = Interruption::None;
    std::vector<TDbTransaction*> transactions_;
    std::vector<detail::DbBoundObject*> boundObjects_;
};

}  // namespace zav
