#pragma once

#include <ibase.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/internal/FbClient.h"

namespace zav {

// Which kind of client call reported a status: the codes that mean a lost connection differ.
enum class ClientCall { Statement, Attachment, Commit, Detach };

// A status vector as every client call fills it.
struct StatusVector {
    ISC_STATUS_ARRAY status{};

    ISC_STATUS* get() { return status; }
};

// The error codes of the vector in order (its isc_arg_gds entries).
std::vector<long> ErrorCodes(const ISC_STATUS* status);

// Whether the failure means the connection to the server is gone.
bool IsConnectionLost(const ISC_STATUS* status, ClientCall call, long sqlCode);

// Whether the vector holds one of the operating system's error codes given: an errno value, or a
// Windows error code.
bool ReportsSystemError(const ISC_STATUS* status, std::initializer_list<long> unixCodes,
                        std::initializer_list<long> win32Codes);

// Why an attach of the file at path (as handed to the library) failed, when it is the user's
// permissions on that file: no write access, or no access at all.
std::optional<DatabaseFileAccessError::Denial> FileAccessDenial(const ISC_STATUS* status,
                                                                const std::string& path);

// The lines that fb_interpret yields joined into one message: CR LF between two lines unless the
// text so far already ends with a line feed, and one final full stop removed.
std::string JoinErrorLines(const std::vector<std::string>& lines);

// The error the layer raises for a failed client call: the library's texts, its SQL code and the
// first error code of the vector.
DatabaseError ErrorFromStatus(const FbClient& api, const ISC_STATUS* status);

}  // namespace zav
