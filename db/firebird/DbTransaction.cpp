#include "db/firebird/DbTransaction.h"

#include <cstdint>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/internal/StatusVector.h"
#include "db/values/ValueErrors.h"

namespace zav {
namespace {

// One entry of isc_start_multiple's list, laid out as the client library reads it.
struct TransactionEntry {
    isc_db_handle* database;
    ISC_LONG parameterLength;
    const char* parameters;
};

// Puts the automatic stop action back when an end is over, however it left.
class SuspendAutoStop {
public:
    explicit SuspendAutoStop(TransactionAction& action) : action_(action), saved_(action) {
        action_ = TransactionAction::None;
    }
    ~SuspendAutoStop() { action_ = saved_; }
    SuspendAutoStop(const SuspendAutoStop&) = delete;
    SuspendAutoStop& operator=(const SuspendAutoStop&) = delete;

private:
    TransactionAction& action_;
    TransactionAction saved_;
};

}  // namespace

TDbTransaction::TDbTransaction(TDbConnection& aConnection)
    : api_(aConnection.api_), connection_(aConnection) {
    connection_.BindTransaction(this);
}

TDbTransaction::~TDbTransaction() {
    if (Active()) {
        EndForced(false);
    }
    connection_.UnbindTransaction(this);
}

void TDbTransaction::SetDefaultAction(TransactionAction aAction) {
    if (aAction == TransactionAction::None) {
        throw ArgumentOutOfRangeError("Keine gültige Standardaktion für eine Transaktion");
    }
    defaultAction_ = aAction;
}

void TDbTransaction::Rollback() {
    if (Active()) {
        EndForced(false);
    }
}

void TDbTransaction::Commit() {
    End(true, false);
}

void TDbTransaction::Bind(detail::DbBoundObject* object) {
    boundObjects_.push_back(object);
}

void TDbTransaction::Unbind(detail::DbBoundObject* object) {
    std::erase(boundObjects_, object);
}

void TDbTransaction::StartAutomatically() {
    if (!allowAutoStart_) {
        throw DatabaseError("Transaktion ist nicht aktiv");
    }
    const std::string parameters = ParameterBlock();
    TransactionEntry entry{connection_.Handle(), static_cast<ISC_LONG>(parameters.size()),
                           parameters.empty() ? nullptr : parameters.data()};
    StatusVector status;
    if (connection_.Call([&] { return api_.startMultiple(status.get(), &handle_, 1, &entry); }) !=
        0) {
        handle_ = {};
        connection_.Raise(status, ClientCall::Statement);
    }
    startedAutomatically_ = true;
}

std::string TDbTransaction::ParameterBlock() const {
    if (lockTimeoutSeconds_ <= 0 && !readsWaitForUnsavedRows_) {
        // No parameters: the server's default, a read-write snapshot that waits on lock conflicts.
        return {};
    }
    std::string block = {static_cast<char>(isc_tpb_version3), static_cast<char>(isc_tpb_write)};
    if (readsWaitForUnsavedRows_) {
        block += static_cast<char>(isc_tpb_read_committed);
        block += static_cast<char>(isc_tpb_no_rec_version);
    } else {
        block += static_cast<char>(isc_tpb_concurrency);
    }
    block += static_cast<char>(isc_tpb_wait);
    if (lockTimeoutSeconds_ > 0) {
        AppendNumberItem(block, static_cast<char>(isc_tpb_lock_timeout),
                         static_cast<std::uint32_t>(lockTimeoutSeconds_));
    }
    return block;
}

void TDbTransaction::QueryClosed() {
    if (autoStopAction_ == TransactionAction::None || inUnitOfWork_ || !Active() ||
        !startedAutomatically_) {
        return;
    }
    for (const detail::DbBoundObject* object : boundObjects_) {
        if (object->IsOpenQuery()) {
            return;
        }
    }
    StatusVector status;
    switch (autoStopAction_) {
        case TransactionAction::Commit:
            End(true, false);
            break;
        case TransactionAction::Rollback:
            End(false, false);
            break;
        case TransactionAction::CommitRetaining:
            if (connection_.Call([&] { return api_.commitRetaining(status.get(), &handle_); }) != 0) {
                connection_.Raise(status, ClientCall::Commit);
            }
            break;
        case TransactionAction::RollbackRetaining:
            if (connection_.Call([&] { return api_.rollbackRetaining(status.get(), &handle_); }) != 0) {
                connection_.Raise(status, ClientCall::Statement);
            }
            break;
        case TransactionAction::None:
            break;
    }
}

void TDbTransaction::End(bool commit, bool forced) {
    if (!Active()) {
        return;
    }
    // The closes below must not end the transaction a second time.
    SuspendAutoStop suspended(autoStopAction_);
    for (detail::DbBoundObject* object : std::vector(boundObjects_)) {
        if (forced) {
            try {
                object->OnTransactionEnding(true);
            } catch (...) {  // a forced end goes on whatever a bound object reports
            }
        } else {
            object->OnTransactionEnding(false);
        }
    }
    StatusVector status;
    const ISC_STATUS result = connection_.Call([&] {
        return commit ? api_.commitTransaction(status.get(), &handle_)
                      : api_.rollbackTransaction(status.get(), &handle_);
    });
    if (result != 0) {
        if (!forced) {
            connection_.Raise(status, commit ? ClientCall::Commit : ClientCall::Statement);
        }
        // A refused forced commit is followed by a rollback.
        StatusVector ignored;
        const bool ended =
            commit && connection_.Call([&] {
                return api_.rollbackTransaction(ignored.get(), &handle_);
            }) == 0;
        handle_ = {};
        startedAutomatically_ = false;
        if (!ended) {
            // The library may still hold the transaction and its locks: they go with the
            // attachment.
            connection_.CloseForcibly();
        }
        return;
    }
    handle_ = {};
    startedAutomatically_ = false;
}

void TDbTransaction::EndForced(bool commit) noexcept {
    try {
        End(commit, true);
    } catch (...) {  // nothing in a forced end raises; this only keeps the promise
        handle_ = {};
        startedAutomatically_ = false;
    }
}

void TDbTransaction::EndByDefaultAction() {
    if (!Active()) {
        return;
    }
    const bool commits = defaultAction_ == TransactionAction::Commit ||
                         defaultAction_ == TransactionAction::CommitRetaining;
    if (commits && !inUnitOfWork_) {
        End(true, false);
    } else {
        EndForced(false);
    }
}

}  // namespace zav
