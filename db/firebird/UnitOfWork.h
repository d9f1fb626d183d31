#pragma once

namespace zav {

class TDbTransaction;

// The writes of one unit of work in a transaction of their own: they become durable only by
// Commit(). Leaving the scope without it (an error on its way, a refused commit) rolls them back,
// never commits. Meanwhile neither the stop rule nor a closing connection commits.
class UnitOfWork {
public:
    // The transaction must hold nothing from before: a unit never commits work it did not begin.
    // Raises DatabaseError otherwise.
    explicit UnitOfWork(TDbTransaction& aTransaction);
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
