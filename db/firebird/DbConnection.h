#pragma once

#include <atomic>
#include <chrono>
#include <optional>
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
    // Whether the open attachment goes through a server (false: the embedded engine in this
    // process, where no other program can hold the file).
    bool ThroughServer() const { return throughServer_; }

    // Why a call was cancelled from another thread.
    enum class CancelReason { None, Overran, CutOff };
    // Whether the client library can cancel a call (fb_cancel_operation).
    bool CanCancel() const;
    // Safe from another thread: Overran cancels the call in progress, which then fails; CutOff
    // closes the attachment under it. The reason decides the failure's text. Does nothing while
    // no attachment is open.
    void Cancel(CancelReason reason) noexcept;
    // When the client call in progress began; nothing between calls. Safe from another thread.
    std::optional<std::chrono::steady_clock::time_point> CallInProgressSince() const;

private:
    friend class TDbTransaction;
    friend class TDbQuery;
    friend class TDbStatement;
    friend class DsqlStatement;

    void Bind(detail::DbBoundObject* object);
    void Unbind(detail::DbBoundObject* object);
    void BindTransaction(TDbTransaction* transaction);
    void UnbindTransaction(TDbTransaction* transaction);

    ClientHandle* Handle() { return &handle_; }
    // Runs one client call, marked as in progress for a RunBound: a clock read and two stores,
    // nothing a call would notice.
    template <typename ClientFunction>
    auto Call(ClientFunction&& call) {
        cancelled_.store(CancelReason::None, std::memory_order_relaxed);
        callStarted_.store(std::chrono::steady_clock::now().time_since_epoch().count(),
                           std::memory_order_relaxed);
        const auto result = call();
        callStarted_.store(kNoCall, std::memory_order_relaxed);
        return result;
    }
    // Raises the error of a failed client call (FaultAdvice builds it); when the failure means
    // the server is gone, the connection is closed by force first.
    [[noreturn]] void Raise(const StatusVector& status, ClientCall call);
    // Releases every handle, rolls back every active transaction, detaches, all errors ignored.
    // Never commits: a connection closed by force may be one whose state is unknown. An attachment
    // that refuses to detach is cut off first, so none stays behind in the process. Safe to call
    // when already closed, and from within itself.
    void CloseForcibly() noexcept;
    // The attach parameters; utf8Name adds the flag that the database name is in UTF-8.
    std::string ParameterBlock(bool utf8Name) const;
    // The dialect and whether the attachment goes through a server, in one request.
    void ReadAttachmentInfo();
    // Detaches, closing what the library still holds, all errors ignored.
    void DetachForcibly() noexcept;

    static constexpr std::chrono::steady_clock::rep kNoCall = 0;

    const FbClient& api_;
    std::string databaseName_;
    std::vector<std::string> params_;
    ClientHandle handle_{};
    // The open attachment's handle for Cancel(): handle_ itself is the library's to write during
    // a call.
    std::atomic<ClientHandle> cancelHandle_{};
    std::atomic<std::chrono::steady_clock::rep> callStarted_{kNoCall};
    std::atomic<CancelReason> cancelled_{CancelReason::None};
    bool throughServer_ = false;
    int sqlDialect_;
    int connectTimeoutSeconds_ = 0;
    bool closingForcibly_ = false;
    std::vector<TDbTransaction*> transactions_;
    std::vector<detail::DbBoundObject*> boundObjects_;
};

}  // namespace zav
