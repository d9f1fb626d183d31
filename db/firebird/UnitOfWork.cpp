#include "db/firebird/UnitOfWork.h"

#include "db/firebird/DbTransaction.h"

namespace zav {

UnitOfWork::~UnitOfWork() {
    if (!committed_) {
        transaction_.Rollback();
    }
}

void UnitOfWork::Commit() {
    transaction_.Commit();
    committed_ = true;
}

}  // namespace zav
