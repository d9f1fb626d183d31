#include "db/firebird/RunBound.h"

#include "db/firebird/DbConnection.h"

namespace zav {
namespace {

// How often a call that was cut off is looked at until it has returned.
constexpr std::chrono::milliseconds kRecheck{100};

}  // namespace

RunBound::RunBound(TDbConnection& connection, Clock::duration bound, Clock::duration grace)
    : connection_(connection), bound_(bound), grace_(grace) {
    if (connection_.CanCancel()) {
        thread_ = std::thread([this] { Watch(); });
    }
}

RunBound::~RunBound() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

bool RunBound::EndedBy(std::unique_lock<std::mutex>& lock, Clock::time_point time) {
    return wake_.wait_until(lock, time, [this] { return ended_; });
}

void RunBound::Watch() {
    std::unique_lock lock(mutex_);
    for (;;) {
        const auto started = connection_.CallInProgressSince();
        // A call that begins later is due no earlier than a bound from now.
        if (EndedBy(lock, started ? *started + bound_ : Clock::now() + bound_)) {
            return;
        }
        if (!started || connection_.CallInProgressSince() != started) {
            continue;
        }
        // Unlocked: the end of the watch must not wait for a call into the library.
        lock.unlock();
        connection_.Cancel(TDbConnection::CancelReason::Overran);
        lock.lock();
        if (EndedBy(lock, *started + bound_ + grace_)) {
            return;
        }
        if (connection_.CallInProgressSince() != started) {
            continue;
        }
        // The server does not answer: closing the connection from here makes the call fail at
        // once; the server drops the attachment's transaction.
        lock.unlock();
        connection_.Cancel(TDbConnection::CancelReason::CutOff);
        lock.lock();
        while (connection_.CallInProgressSince() == started) {
            if (EndedBy(lock, Clock::now() + kRecheck)) {
                return;
            }
        }
    }
}

}  // namespace zav
