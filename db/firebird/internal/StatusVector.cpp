#include "db/firebird/internal/StatusVector.h"

#include <algorithm>
#include <string_view>

namespace zav {
namespace {

constexpr long kSqlCodeServerUnavailable = -902;
constexpr long kUnixAccessDenied = 13;  // EACCES
constexpr long kWin32AccessDenied = 5;  // ERROR_ACCESS_DENIED

// fb_interpret writes at most this much per line; longer texts are cut, never overrun.
constexpr unsigned kLineBufferSize = 1024;

// One entry of a status vector: its kind (isc_arg_*) and value; for a string argument its text.
struct StatusEntry {
    ISC_STATUS kind = isc_arg_end;
    ISC_STATUS value = 0;
    std::string_view text;  // no data() for other kinds
};

// The entries up to isc_arg_end, none reaching past the vector's length.
std::vector<StatusEntry> StatusEntries(const ISC_STATUS* status) {
    std::vector<StatusEntry> entries;
    // A counted string has a length and an address; every other kind one value.
    for (std::size_t i = 0; i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end;
         i += status[i] == isc_arg_cstring ? 3 : 2) {
        StatusEntry entry{status[i], status[i + 1], {}};
        if ((entry.kind == isc_arg_string || entry.kind == isc_arg_interpreted) &&
            entry.value != 0) {
            entry.text = reinterpret_cast<const char*>(entry.value);
        } else if (entry.kind == isc_arg_cstring) {
            if (i + 2 >= ISC_STATUS_LENGTH) {
                break;
            }
            if (status[i + 2] != 0) {
                entry.text = {reinterpret_cast<const char*>(status[i + 2]),
                              static_cast<std::size_t>(entry.value)};
            }
        }
        entries.push_back(entry);
    }
    return entries;
}

bool IsErrorCode(const StatusEntry& entry) {
    return entry.kind == isc_arg_gds;
}

}  // namespace

std::vector<long> ErrorCodes(const ISC_STATUS* status) {
    std::vector<long> codes;
    for (const StatusEntry& entry : StatusEntries(status)) {
        if (IsErrorCode(entry)) {
            codes.push_back(static_cast<long>(entry.value));
        }
    }
    return codes;
}

bool ReportsSystemError(const ISC_STATUS* status, std::initializer_list<long> unixCodes,
                        std::initializer_list<long> win32Codes) {
    const auto among = [](std::initializer_list<long> codes, ISC_STATUS value) {
        return std::find(codes.begin(), codes.end(), static_cast<long>(value)) != codes.end();
    };
    const std::vector<StatusEntry> entries = StatusEntries(status);
    return std::any_of(entries.begin(), entries.end(), [&](const StatusEntry& entry) {
        return (entry.kind == isc_arg_unix && among(unixCodes, entry.value)) ||
               (entry.kind == isc_arg_win32 && among(win32Codes, entry.value));
    });
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
        case ClientCall::Detach:
            return false;
        case ClientCall::Commit:
            return sqlCode == kSqlCodeServerUnavailable && !codes.empty() &&
                   codes.front() == isc_network_error;
        case ClientCall::Statement:
            return false;
    }
    return false;
}

std::optional<DatabaseFileAccessError::Denial> FileAccessDenial(const ISC_STATUS* status,
                                                                const std::string& path) {
    const std::vector<StatusEntry> entries = StatusEntries(status);
    auto entry = std::find_if(entries.begin(), entries.end(), IsErrorCode);
    if (entry == entries.end()) {
        return std::nullopt;
    }
    const ISC_STATUS code = entry->value;
    if (code == isc_no_priv) {
        return DatabaseFileAccessError::Denial::ReadOnly;
    }
    std::vector<std::string_view> texts;  // the arguments of the first code
    while (++entry != entries.end() && !IsErrorCode(*entry)) {
        if (entry->text.data() != nullptr) {
            texts.push_back(entry->text);
        }
    }
    // "I/O error during open of <file>" followed somewhere by the system's "access denied"; the
    // engine reports its own lock files the same way, so the file must be the database.
    if (code == isc_io_error && texts.size() >= 2 && texts[1] == path &&
        ReportsSystemError(status, {kUnixAccessDenied}, {kWin32AccessDenied})) {
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
