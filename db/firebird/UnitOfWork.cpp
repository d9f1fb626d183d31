#include "db/firebird/UnitOfWork.h"

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbTransaction.h"

namespace zav {

UnitOfWork::UnitOfWork(TDbTransaction& aTransaction) : transaction_(aTransaction) {
    if (transaction_.Active()) {
        throw DatabaseError(
            "Interner Fehler: Die Transaktion enthält noch Änderungen, die nicht zum Update "
            "gehören. Es wurde nichts gespeichert.");
    }
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
