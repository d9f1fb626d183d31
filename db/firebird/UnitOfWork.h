#pragma once

#include "db/firebird/RunWatchdog.h"

namespace zav {

class TDbTransaction;

// The writes of one unit of work in a transaction of their own: they become durable only by
// Commit(). Leaving the scope without it (an error on its way, a refused commit) rolls them back,
// never commits. Meanwhile neither the stop rule nor a closing connection commits, and every call
// of the unit, its rollback included, is bounded by the deadline (RunWatchdog).
class UnitOfWork {
public:
    // Commits first what the transaction holds from before, which is complete on its own (such as
    // the 5 % rate): the stop rule would commit it at the unit's first query.
    UnitOfWork(TDbTransaction& aTransaction, RunWatchdog::Clock::time_point deadline);
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork&) = delete;
    UnitOfWork& operator=(const UnitOfWork&) = delete;

    // Commits hard; a refused commit is raised with the database's text.
    void Commit();

private:
    TDbTransaction& transaction_;
    RunWatchdog watchdog_;  // destroyed after the destructor's rollback, which it bounds too
    bool committed_ = false;
};

}  // namespace zav
