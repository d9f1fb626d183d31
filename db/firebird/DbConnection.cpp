#include "db/firebird/DbConnection.h"

#include <algorithm>
#include <cctype>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbTransaction.h"
#include "db/firebird/internal/FaultAdvice.h"
#include "db/firebird/internal/FbClient.h"
#include "db/firebird/internal/StatusVector.h"
#include "platform/FileSystem.h"

namespace zav {
namespace {

constexpr const char* kDpbPrefix = "isc_dpb_";
constexpr std::size_t kMaxDpbValue = 255;  // one length byte

// After an attach with the name in UTF-8: the client refused the flag, or found no file by that
// name (it read the name otherwise).
bool ClientMissedUtf8Name(const ISC_STATUS* status) {
    const std::vector<long> codes = ErrorCodes(status);
    if (codes.empty()) {
        return false;
    }
    if (codes.front() == isc_bad_dpb_form || codes.front() == isc_bad_dpb_content) {
        return true;
    }
    // The system's reason, after the client's codes: no such file or folder, or no valid name.
    constexpr long kUnixNoEntry = 2;         // ENOENT
    constexpr long kWin32FileNotFound = 2;   // ERROR_FILE_NOT_FOUND
    constexpr long kWin32PathNotFound = 3;   // ERROR_PATH_NOT_FOUND
    constexpr long kWin32InvalidName = 123;  // ERROR_INVALID_NAME
    return codes.front() == isc_io_error &&
           ReportsSystemError(status, {kUnixNoEntry},
                              {kWin32FileNotFound, kWin32PathNotFound, kWin32InvalidName});
}

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

TDbConnection::TDbConnection(ClientLibrary& library)
    : api_(library.Functions()), sqlDialect_(SQL_DIALECT_V6) {}

TDbConnection::~TDbConnection() {
    CloseForcibly();
}

void TDbConnection::SetDatabaseName(std::string aDatabaseName) {
    if (Connected()) {
        throw DatabaseError("Operation kann nicht ausgeführt werden -- DB ist aktuell geöffnet");
    }
    databaseName_ = std::move(aDatabaseName);
}

void TDbConnection::Open() {
    if (Connected()) {
        return;
    }
    if (databaseName_.empty()) {
        throw DatabaseError("Datenbankname fehlt");
    }
    // In the system's code page when it holds the name exactly, else in UTF-8 with the flag that
    // client libraries since Firebird 2.5 understand; never under a name changed on the way.
    const std::optional<std::string> systemName = ToClientCodePage(databaseName_);
    const bool utf8Name = !systemName.has_value();
    const std::string path = systemName.value_or(databaseName_);
    const std::string block = ParameterBlock(utf8Name);
    StatusVector status;
    isc_db_handle handle{};
    if (Call([&] {
            return api_.attachDatabase(status.get(), 0, path.c_str(), &handle,
                                       static_cast<short>(block.size()), block.data());
        }) != 0) {
        if (const auto denial = FileAccessDenial(status.status, path)) {
            const DatabaseError error = ErrorFromStatus(api_, status.status);
            throw DatabaseFileAccessError(error.what(), error.SqlCode(), error.EngineCode(),
                                          *denial);
        }
        if (utf8Name && ClientMissedUtf8Name(status.status) &&
            CreatePlatformFileSystem()->FileExists(databaseName_)) {
            const DatabaseError error = ErrorFromStatus(api_, status.status);
            throw ClientFileNameError(error.what(), error.SqlCode(), error.EngineCode());
        }
        Raise(status, ClientCall::Attachment);
    }
    handle_ = handle;
    cancelHandle_ = handle;
    ReadAttachmentInfo();
}

void TDbConnection::Close() {
    if (!Connected()) {
        return;
    }
    try {
        // Copies: a bound object may not change the lists, but the loops must not depend on it.
        for (detail::DbBoundObject* object : std::vector(boundObjects_)) {
            object->OnConnectionClosing();
        }
        for (TDbTransaction* transaction : std::vector(transactions_)) {
            transaction->EndByDefaultAction();
        }
        if (!Connected()) {
            return;  // a transaction that could not be ended took the attachment with it
        }
        StatusVector status;
        // A detach that the bound cut off may still report success.
        if (Call([&] { return api_.detachDatabase(status.get(), &handle_); }) != 0 ||
            cancelled_ == CancelReason::CutOff) {
            Raise(status, ClientCall::Detach);
        }
        handle_ = {};
        cancelHandle_ = {};
    } catch (...) {
        CloseForcibly();
        throw;
    }
}

void TDbConnection::Bind(detail::DbBoundObject* object) {
    boundObjects_.push_back(object);
}

void TDbConnection::Unbind(detail::DbBoundObject* object) {
    std::erase(boundObjects_, object);
}

void TDbConnection::BindTransaction(TDbTransaction* transaction) {
    transactions_.push_back(transaction);
}

void TDbConnection::UnbindTransaction(TDbTransaction* transaction) {
    std::erase(transactions_, transaction);
}

bool TDbConnection::CanCancel() const {
    return api_.cancelOperation != nullptr;
}

void TDbConnection::Cancel(CancelReason reason) noexcept {
    ClientHandle handle = cancelHandle_;
    if (!CanCancel() || handle == ClientHandle{}) {
        return;
    }
    cancelled_ = reason;
    StatusVector ignored;
    api_.cancelOperation(ignored.get(), &handle,
                         reason == CancelReason::CutOff ? fb_cancel_abort : fb_cancel_raise);
}

std::optional<std::chrono::steady_clock::time_point> TDbConnection::CallInProgressSince() const {
    const auto started = callStarted_.load(std::memory_order_relaxed);
    if (started == kNoCall) {
        return std::nullopt;
    }
    return std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(started));
}

void TDbConnection::Raise(const StatusVector& status, ClientCall call) {
    const CancelReason cancelled = cancelled_;
    const DatabaseError error = ErrorFromStatus(api_, status.status);
    const bool lost = cancelled == CancelReason::CutOff ||
                      IsConnectionLost(status.status, call, error.SqlCode());
    const Fault fault = FaultOfFailure(status.status, call, cancelled, lost);
    if (lost) {
        CloseForcibly();
    }
    ThrowWithAdvice(fault, error, throughServer_);
}

void TDbConnection::CloseForcibly() noexcept {
    if (closingForcibly_) {
        return;  // a rollback that failed within is dealt with by the detach below
    }
    closingForcibly_ = true;
    for (detail::DbBoundObject* object : boundObjects_) {
        object->ReleaseHandles();
    }
    for (TDbTransaction* transaction : transactions_) {
        if (transaction->Active()) {
            transaction->EndForced(false);
        }
    }
    DetachForcibly();
    closingForcibly_ = false;
}

void TDbConnection::DetachForcibly() noexcept {
    if (!Connected()) {
        return;
    }
    StatusVector ignored;
    if (Call([&] { return api_.detachDatabase(ignored.get(), &handle_); }) != 0 && CanCancel()) {
        // Still attached, for instance with a transaction whose rollback failed: cut the
        // attachment off, which ends its transactions without a commit, then let it go.
        api_.cancelOperation(ignored.get(), &handle_, fb_cancel_abort);
        Call([&] { return api_.detachDatabase(ignored.get(), &handle_); });
    }
    handle_ = {};
    cancelHandle_ = {};
}

std::string TDbConnection::ParameterBlock(bool utf8Name) const {
    std::string block(1, static_cast<char>(isc_dpb_version1));
    for (const std::string& line : params_) {
        if (line.empty()) {
            continue;
        }
        const std::size_t equals = line.find('=');
        std::string name = LowerAscii(line.substr(0, equals));
        const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (name.rfind(kDpbPrefix, 0) == 0) {
            name.erase(0, std::char_traits<char>::length(kDpbPrefix));
        }
        char code = 0;
        if (name == "user_name") {
            code = isc_dpb_user_name;
        } else if (name == "password") {
            code = isc_dpb_password;
        } else {
            throw DatabaseError("Unbekannter Datenbankparameter '" + name + "'");
        }
        // Beside a UTF-8 name some clients read the values in UTF-8 too, others in the system's
        // code page: only ASCII reads the same in both.
        const bool ascii =
            std::all_of(value.begin(), value.end(), [](unsigned char c) { return c < 0x80; });
        const std::optional<std::string> converted =
            utf8Name && !ascii ? std::nullopt : ToClientCodePage(value);
        if (!converted) {
            throw DatabaseError("Der Wert des Datenbankparameters '" + name +
                                "' enthält Zeichen, die der Datenbank-Client nicht unverändert "
                                "übernehmen kann");
        }
        const std::string& bytes = *converted;
        if (bytes.size() > kMaxDpbValue) {
            throw DatabaseError("Der Wert des Datenbankparameters '" + name + "' ist zu lang");
        }
        block += code;
        block += static_cast<char>(bytes.size());
        block += bytes;
    }
    if (connectTimeoutSeconds_ > 0) {
        AppendNumberItem(block, static_cast<char>(isc_dpb_connect_timeout),
                         static_cast<std::uint32_t>(connectTimeoutSeconds_));
    }
    if (utf8Name) {
        block += static_cast<char>(isc_dpb_utf8_filename);
        block += '\0';  // a flag: no value
    }
    return block;
}

void TDbConnection::ReadAttachmentInfo() {
    const char items[] = {static_cast<char>(isc_info_db_sql_dialect),
                          static_cast<char>(isc_info_implementation), isc_info_end};
    char answer[64] = {};
    StatusVector status;
    if (Call([&] {
            return api_.databaseInfo(status.get(), &handle_, sizeof items, items, sizeof answer,
                                     answer);
        }) != 0) {
        // Attached but unusable: leave nothing half-open behind.
        const DatabaseError error = ErrorFromStatus(api_, status.status);
        CloseForcibly();
        throw error;
    }
    int dialect = SQL_DIALECT_V5;
    throughServer_ = false;
    const auto* bytes = reinterpret_cast<const ISC_UCHAR*>(answer);
    for (std::size_t at = 0; at + 3 <= sizeof answer && bytes[at] != isc_info_end;) {
        // Each item: its code, the length of its value in two bytes, then the value.
        const auto length = static_cast<std::size_t>(api_.portableInteger(bytes + at + 1, 2));
        const ISC_UCHAR* value = bytes + at + 3;
        if (at + 3 + length > sizeof answer) {
            break;
        }
        if (bytes[at] == isc_info_db_sql_dialect) {
            dialect = static_cast<int>(
                api_.portableInteger(value, static_cast<short>(std::min<std::size_t>(length, 4))));
        } else if (bytes[at] == isc_info_implementation && length >= 1) {
            // A count, then pairs of implementation and class; the remote client adds its own.
            for (std::size_t pair = 0; pair < value[0] && 2 + 2 * pair < length; ++pair) {
                throughServer_ = throughServer_ || value[2 + 2 * pair] == isc_info_db_class_rem_int;
            }
        }
        at += 3 + length;
    }
    sqlDialect_ = std::min(sqlDialect_, dialect);
}

}  // namespace zav
