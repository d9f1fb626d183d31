#pragma once

namespace zav::detail {

// A query or statement as its connection and transaction see it: both tell their bound objects,
// in binding order, when they end.
class DbBoundObject {
public:
    virtual bool IsOpenQuery() const = 0;
    // The transaction ends: an open query closes and a query drops its prepared statement; a
    // statement closes an open cursor and stays prepared. Forced: errors are ignored.
    virtual void OnTransactionEnding(bool forced) = 0;
    // The connection closes: an open query closes (the stop rule runs) and every prepared
    // statement is released. May raise.
    virtual void OnConnectionClosing() = 0;
    // The connection closes by force or is gone: every handle is released, errors ignored.
    virtual void ReleaseHandles() noexcept = 0;

protected:
    ~DbBoundObject() = default;
};

}  // namespace zav::detail
