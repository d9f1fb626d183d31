#pragma once

#include <string>
#include <vector>

#include "db/firebird/ClientHandle.h"
#include "db/firebird/DbBinding.h"

namespace zav {

class TDbConnection;
struct FbClient;

enum class TransactionAction { None, Rollback, Commit, RollbackRetaining, CommitRetaining };

// A transaction of one connection. It starts when a bound query opens and ends by the stop rule
// (its last open query closes), when its connection closes, or by Rollback().
class TDbTransaction {
public:
    explicit TDbTransaction(TDbConnection& aConnection);
    // Rolls back a running transaction, never commits.
    ~TDbTransaction();
    TDbTransaction(const TDbTransaction&) = delete;
    TDbTransaction& operator=(const TDbTransaction&) = delete;

    // How the stop rule ends a transaction it started automatically; None turns the rule off.
    void SetAutoStopAction(TransactionAction aAction) { autoStopAction_ = aAction; }
    // How closing the connection ends the transaction. None is no default action and is refused.
    void SetDefaultAction(TransactionAction aAction);
    void SetAllowAutoStart(bool aAllow) { allowAutoStart_ = aAllow; }
    // How long a transaction started from now on waits for a row another attachment holds before
    // the write fails; 0 waits without end (the server's default).
    void SetLockTimeoutSeconds(int aSeconds) { lockTimeoutSeconds_ = aSeconds; }
    // Whether a transaction started from now on reads what others have saved (read committed) and
    // waits, as for a write, for a row another attachment has changed or inserted but not saved,
    // instead of passing over it as a snapshot does. Off: the server's default snapshot.
    void SetReadsWaitForUnsavedRows(bool aWait) { readsWaitForUnsavedRows_ = aWait; }

    bool Active() const { return handle_ != ClientHandle{}; }

    // Ends a running transaction by rollback, forced: the stop rule is suspended, bound queries
    // close, errors of the rollback are ignored and the transaction is inactive afterwards. For
    // undoing the writes of a failed run.
    void Rollback();
    // Ends a running transaction by a hard commit, not forced: bound queries close, and a refused
    // commit is raised with the transaction still active, for the caller to roll back.
    void Commit();

private:
    friend class TDbConnection;
    friend class TDbQuery;
    friend class TDbStatement;
    friend class UnitOfWork;

    void Bind(detail::DbBoundObject* object);
    void Unbind(detail::DbBoundObject* object);
    ClientHandle* Handle() { return &handle_; }

    // Starts the server's default transaction (read-write, snapshot, waiting) for a query.
    void StartAutomatically();
    // Empty for the server's default; otherwise read-write, waiting, with the isolation and the
    // lock timeout set.
    std::string ParameterBlock() const;
    // The stop rule, run each time a bound query has closed.
    void QueryClosed();
    // Commits or rolls back hard. Not forced: a failure is raised and the transaction stays
    // active. Forced: a failed commit is followed by a rollback, errors are ignored and the
    // transaction is inactive afterwards; when the rollback fails too, the library may still hold
    // the transaction with its locks, so the connection is closed forcibly.
    void End(bool commit, bool forced);
    void EndForced(bool commit) noexcept;
    // For a closing connection: a commit not forced, so that a refused one is raised; inside a
    // unit of work, a rollback.
    void EndByDefaultAction();

    const FbClient& api_;
    TDbConnection& connection_;
    ClientHandle handle_{};
    TransactionAction autoStopAction_ = TransactionAction::None;
    TransactionAction defaultAction_ = TransactionAction::Commit;
    bool allowAutoStart_ = true;
    int lockTimeoutSeconds_ = 0;
    bool readsWaitForUnsavedRows_ = false;
    bool startedAutomatically_ = false;
    // Held by a UnitOfWork: neither the stop rule nor a closing connection commits.
    bool inUnitOfWork_ = false;
    std::vector<detail::DbBoundObject*> boundObjects_;
};

}  // namespace zav
