#pragma once

namespace zav {

class TDbTransaction;

// The writes of one unit of work in a transaction: they become durable only by Commit(). Leaving
// the scope without it (an error on its way, a refused commit) rolls them back, never commits.
class UnitOfWork {
public:
    explicit UnitOfWork(TDbTransaction& aTransaction) : transaction_(aTransaction) {}
    ~UnitOfWork();
    UnitOfWork(const UnitOfWork&) = delete;
    UnitOfWork& operator=(const UnitOfWork&) = delete;

    // Commits hard; a refused commit is raised with the database's text.
    void Commit();

private:
    TDbTransaction& transaction_;
    bool committed_ = false;
};

}  // namespace zav
