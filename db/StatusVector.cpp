#include "db/StatusVector.h"

#include <algorithm>

namespace zav {
namespace {

constexpr long kNetworkError = 335544721;    // isc_network_error
constexpr long kNetReadError = 335544726;    // isc_net_read_err
constexpr long kNetWriteError = 335544727;   // isc_net_write_err
constexpr long kLostConnection = 335544741;  // isc_lost_db_connection
constexpr long kShutdown = 335544856;        // isc_att_shutdown
constexpr long kSqlCodeServerUnavailable = -902;
constexpr long kDeadlock = 335544336;        // isc_deadlock, also after a lock time-out
constexpr long kLockConflict = 335544345;    // isc_lock_conflict
constexpr long kUpdateConflict = 335544451;  // isc_update_conflict
constexpr long kLockTimeout = 335544510;     // isc_lock_timeout

// fb_interpret writes at most this much per line; longer texts are cut, never overrun.
constexpr unsigned kLineBufferSize = 1024;

}  // namespace

std::vector<long> ErrorCodes(const ISC_STATUS* status) {
    std::vector<long> codes;
    std::size_t i = 0;
    while (i < ISC_STATUS_LENGTH && status[i] != isc_arg_end) {
        switch (status[i]) {
            case isc_arg_gds:
                if (i + 1 < ISC_STATUS_LENGTH) {
                    codes.push_back(static_cast<long>(status[i + 1]));
                }
                i += 2;
                break;
            case isc_arg_cstring:  // length and address
                i += 3;
                break;
            default:  // one value: a string, a number, an SQL state or a system code
                i += 2;
                break;
        }
    }
    return codes;
}

bool IsConnectionLost(const ISC_STATUS* status, ClientCall call, long sqlCode) {
    const std::vector<long> codes = ErrorCodes(status);
    const auto has = [&codes](long code) {
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    };
    // The remote client reports a server that went away during any call, a statement or a commit
    // included, as a failed read or write on the connection; a server that shuts down while it
    // works on a call ends the attachment with "connection shutdown".
    if (has(kLostConnection) || has(kNetReadError) || has(kNetWriteError) || has(kShutdown)) {
        return true;
    }
    switch (call) {
        case ClientCall::Attachment:
            return false;
        case ClientCall::Commit:
            return sqlCode == kSqlCodeServerUnavailable && !codes.empty() &&
                   codes.front() == kNetworkError;
        case ClientCall::Statement:
            return false;
    }
    return false;
}

bool IsLockConflict(const ISC_STATUS* status) {
    const std::vector<long> codes = ErrorCodes(status);
    return std::any_of(codes.begin(), codes.end(), [](long code) {
        return code == kDeadlock || code == kLockConflict || code == kUpdateConflict ||
               code == kLockTimeout;
    });
}

std::string JoinErrorLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty() && text.back() != '\n') {
            text += "\r\n";
        }
        text += line;
    }
    if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

DatabaseError ErrorFromStatus(const FbClient& api, const ISC_STATUS* status) {
    std::vector<std::string> lines;
    const ISC_STATUS* cursor = status;
    char buffer[kLineBufferSize];
    while (api.interpret(buffer, kLineBufferSize, &cursor) > 0) {
        lines.push_back(FromClientCodePage(buffer));
    }
    const std::vector<long> codes = ErrorCodes(status);
    return DatabaseError(JoinErrorLines(lines), static_cast<long>(api.sqlcode(status)),
                         codes.empty() ? 0 : codes.front());
}

}  // namespace zav
