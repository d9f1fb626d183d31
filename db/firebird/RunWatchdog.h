#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "db/firebird/ClientHandle.h"

namespace zav {

class TDbConnection;
struct FbClient;

// Bounds the database calls of one run on a connection, from its own thread, for as long as the
// object lives: at the deadline it cancels the call in progress, which then fails; a call that
// still has not returned shortly after (a server that does not answer) is cut off together with
// the attachment. The connection raises such failures with German advice. The attachment must
// stay the same while the object lives. Without fb_cancel_operation in the client library nothing
// is watched: each lock wait is still bounded by the transaction's lock timeout, a server that
// does not answer is not.
class RunWatchdog {
public:
    using Clock = std::chrono::steady_clock;

    RunWatchdog(TDbConnection& connection, Clock::time_point deadline);
    // Stops the watch and waits for its thread.
    ~RunWatchdog();
    RunWatchdog(const RunWatchdog&) = delete;
    RunWatchdog& operator=(const RunWatchdog&) = delete;

private:
    void Watch();
    // Waits until the time or the end of the watch; true when the watch has ended.
    bool EndedBy(std::unique_lock<std::mutex>& lock, Clock::time_point time);
    // Calls fb_cancel_operation with the option; true when the library took it.
    bool Cancel(std::unique_lock<std::mutex>& lock, unsigned short option);

    TDbConnection& connection_;
    const FbClient& api_;
    ClientHandle handle_;  // a copy: the connection's own is the main thread's
    Clock::time_point deadline_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ended_ = false;
    std::thread thread_;  // last: it starts once everything above is set
};

}  // namespace zav
