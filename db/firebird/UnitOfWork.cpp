#include "db/firebird/UnitOfWork.h"

#include "db/firebird/DbTransaction.h"

namespace zav {

UnitOfWork::UnitOfWork(TDbTransaction& aTransaction, RunWatchdog::Clock::time_point deadline)
    : transaction_(aTransaction), watchdog_(aTransaction.connection_, deadline) {
    transaction_.Commit();
    transaction_.inUnitOfWork_ = true;
}

UnitOfWork::~UnitOfWork() {
    if (!committed_) {
        transaction_.Rollback();
    }
    transaction_.inUnitOfWork_ = false;
}

void UnitOfWork::Commit() {
    transaction_.Commit();
    committed_ = true;
}

}  // namespace zav
