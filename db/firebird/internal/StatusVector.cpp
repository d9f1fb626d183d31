#include "db/firebird/internal/StatusVector.h"

#include <algorithm>

namespace zav {
namespace {

constexpr long kSqlCodeServerUnavailable = -902;
constexpr long kUnixAccessDenied = 13;     // EACCES
constexpr long kWin32AccessDenied = 5;     // ERROR_ACCESS_DENIED
constexpr long kUnixNoSpace = 28;          // ENOSPC
constexpr long kWin32DiskFull = 112;       // ERROR_DISK_FULL
constexpr long kWin32HandleDiskFull = 39;  // ERROR_HANDLE_DISK_FULL

// One gds code with the arguments that follow it in the vector.
struct StatusCode {
    long code = 0;
    std::vector<std::string> texts;
    bool systemDeniedAccess = false;  // an errno or Windows error "access denied" follows
};

std::vector<StatusCode> ParseStatus(const ISC_STATUS* status) {
    std::vector<StatusCode> parsed;
    std::size_t i = 0;
    while (i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end) {
        const ISC_STATUS kind = status[i];
        const ISC_STATUS value = status[i + 1];
        if (kind == isc_arg_gds) {
            parsed.push_back({static_cast<long>(value), {}, false});
        } else if (!parsed.empty() && (kind == isc_arg_string || kind == isc_arg_interpreted) &&
                   value != 0) {
            parsed.back().texts.emplace_back(reinterpret_cast<const char*>(value));
        } else if (!parsed.empty() && kind == isc_arg_cstring && i + 2 < ISC_STATUS_LENGTH &&
                   status[i + 2] != 0) {
            parsed.back().texts.emplace_back(reinterpret_cast<const char*>(status[i + 2]),
                                             static_cast<std::size_t>(value));
        } else if (!parsed.empty() && ((kind == isc_arg_unix && value == kUnixAccessDenied) ||
                                       (kind == isc_arg_win32 && value == kWin32AccessDenied))) {
            parsed.back().systemDeniedAccess = true;
        }
        i += kind == isc_arg_cstring ? 3 : 2;  // a counted string has a length and an address
    }
    return parsed;
}

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
    if (has(isc_lost_db_connection) || has(isc_net_read_err) || has(isc_net_write_err) ||
        has(isc_att_shutdown)) {
        return true;
    }
    switch (call) {
        case ClientCall::Attachment:
            return false;
        case ClientCall::Commit:
            return sqlCode == kSqlCodeServerUnavailable && !codes.empty() &&
                   codes.front() == isc_network_error;
        case ClientCall::Statement:
            return false;
    }
    return false;
}

bool ReportsDiskFull(const ISC_STATUS* status) {
    for (std::size_t i = 0; i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end;
         i += status[i] == isc_arg_cstring ? 3 : 2) {
        const ISC_STATUS value = status[i + 1];
        if ((status[i] == isc_arg_unix && value == kUnixNoSpace) ||
            (status[i] == isc_arg_win32 &&
             (value == kWin32DiskFull || value == kWin32HandleDiskFull))) {
            return true;
        }
    }
    return false;
}

std::optional<DatabaseFileAccessError::Denial> FileAccessDenial(const ISC_STATUS* status,
                                                                const std::string& path) {
    const std::vector<StatusCode> codes = ParseStatus(status);
    if (codes.empty()) {
        return std::nullopt;
    }
    if (codes.front().code == isc_no_priv) {
        return DatabaseFileAccessError::Denial::ReadOnly;
    }
    // "I/O error during open of <file>" followed somewhere by the system's "access denied"; the
    // engine reports its own lock files the same way, so the file must be the database.
    const bool aboutTheFile = codes.front().code == isc_io_error &&
                              codes.front().texts.size() >= 2 && codes.front().texts[1] == path;
    const bool denied = std::any_of(codes.begin(), codes.end(), [](const StatusCode& entry) {
        return entry.systemDeniedAccess;
    });
    if (aboutTheFile && denied) {
        return DatabaseFileAccessError::Denial::NoAccess;
    }
    return std::nullopt;
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
