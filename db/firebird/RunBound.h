#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zav {

class TDbConnection;

// Bounds every client call on a connection, from a thread of its own, for as long as the object
// lives: a call that has not returned within the bound is cancelled and then fails; one that
// still has not returned shortly after (a server that does not answer) is cut off together with
// the attachment. The clock starts again with each call, so a long run of quick calls is never
// cut off. Made once where a run starts; the connection must outlive it. Without
// fb_cancel_operation in the client library nothing is watched.
class RunBound {
public:
    using Clock = std::chrono::steady_clock;

    // Above the transaction's 10 s lock time-out, so that a lock wait ends with the lock advice.
    static constexpr Clock::duration kCallBound = std::chrono::seconds(12);
    // An engine that works notices a cancel within milliseconds, even in a lock wait.
    static constexpr Clock::duration kAnswerGrace = std::chrono::seconds(2);

    explicit RunBound(TDbConnection& connection, Clock::duration bound = kCallBound,
                      Clock::duration grace = kAnswerGrace);
    // Stops the watch and waits for its thread.
    ~RunBound();
    RunBound(const RunBound&) = delete;
    RunBound& operator=(const RunBound&) = delete;

private:
    void Watch();
    // Waits until the time or the end of the watch; true when the watch has ended.
    bool EndedBy(std::unique_lock<std::mutex>& lock, Clock::time_point time);

    TDbConnection& connection_;
    const Clock::duration bound_;
    const Clock::duration grace_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ended_ = false;
    std::thread thread_;  // last: it starts once everything above is set
};

}  // namespace zav
