#include "db/firebird/RunWatchdog.h"

#include <algorithm>

#include "db/firebird/DbConnection.h"
#include "db/firebird/internal/FbClient.h"
#include "db/firebird/internal/StatusVector.h"

namespace zav {
namespace {

// How long a cancelled call may take to return before the server counts as not answering: an
// engine that works notices a cancel within milliseconds, even in a lock wait.
constexpr std::chrono::seconds kAnswerGrace{2};
// Between two calls there is nothing to cancel; the next call is met this soon.
constexpr std::chrono::milliseconds kCancelRetry{50};

}  // namespace

RunWatchdog::RunWatchdog(TDbConnection& connection, Clock::time_point deadline)
    : connection_(connection),
      api_(connection.api_),
      handle_(connection.handle_),
      deadline_(deadline) {
    if (api_.cancelOperation != nullptr && handle_ != ClientHandle{}) {
        thread_ = std::thread([this] { Watch(); });
    }
}

RunWatchdog::~RunWatchdog() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    wake_.notify_one();
    thread_.join();
    connection_.interruption_ = TDbConnection::Interruption::None;
}

bool RunWatchdog::EndedBy(std::unique_lock<std::mutex>& lock, Clock::time_point time) {
    return wake_.wait_until(lock, time, [this] { return ended_; });
}

bool RunWatchdog::Cancel(std::unique_lock<std::mutex>& lock, unsigned short option) {
    // Unlocked: the end of the watch must not wait for a call into the library.
    lock.unlock();
    StatusVector status;
    const bool cancelled = api_.cancelOperation(status.get(), &handle_, option) == 0;
    lock.lock();
    return cancelled;
}

void RunWatchdog::Watch() {
    std::unique_lock lock(mutex_);
    if (EndedBy(lock, deadline_)) {
        return;
    }
    connection_.interruption_ = TDbConnection::Interruption::Cancelled;
    const Clock::time_point cutOff = Clock::now() + kAnswerGrace;
    // A call in progress ends with "operation was cancelled". Between two calls there is nothing
    // to cancel, and the next call is met shortly after.
    while (!Cancel(lock, fb_cancel_raise)) {
        if (EndedBy(lock, std::min(Clock::now() + kCancelRetry, cutOff))) {
            return;
        }
        if (Clock::now() >= cutOff) {
            break;
        }
    }
    if (EndedBy(lock, cutOff)) {
        return;
    }
    // The run is still not over: the server does not answer. Closing the connection from here
    // makes the call in progress fail at once; the server drops the attachment's transaction.
    connection_.interruption_ = TDbConnection::Interruption::CutOff;
    Cancel(lock, fb_cancel_abort);
}

}  // namespace zav
