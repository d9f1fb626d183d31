#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "db/firebird/DbBinding.h"
#include "db/firebird/DsqlStatement.h"

namespace zav {

class TDbConnection;
class TDbTransaction;
class TDbQuery;
class ResultRow;
struct ColumnValue;

// A column of an open query; it reads the query's current row each time it is asked, so it is
// valid as long as the query stays open.
class TDbField {
public:
    const std::string& Name() const;
    // See ColumnToInt32: null and an empty result give 0 for numeric columns.
    std::int32_t AsInteger() const;
    std::string AsString() const;
    // Also true when the result has no row.
    bool IsNull() const;

private:
    friend class TDbQuery;
    TDbField(const TDbQuery& query, std::size_t index) : query_(&query), index_(index) {}
    ColumnValue Value() const;

    const TDbQuery* query_;
    std::size_t index_;
};

// Runs one select and walks its rows. Opening it starts its transaction when that is not active
// (and opens the connection when that is closed); closing the last open query of an automatically
// started transaction ends the transaction by its automatic stop action.
class TDbQuery : private detail::DbBoundObject {
public:
    // The component name begins the query's own error texts ("dqQuery: ...").
    TDbQuery(std::string componentName, TDbConnection& aConnection, TDbTransaction& aTransaction);
    // Releases the statement without running the stop rule: a destructor never commits.
    ~TDbQuery();
    TDbQuery(const TDbQuery&) = delete;
    TDbQuery& operator=(const TDbQuery&) = delete;

    const std::string& Name() const { return name_; }
    // Closes the query first when it is open, and drops the prepared statement.
    void SetSQL(std::string aSql);
    const std::string& SQL() const { return sql_; }

    // Runs the select and fetches the first row; does nothing when open.
    void Open();
    // Does nothing when closed, so closing a closed query never commits.
    void Close();
    bool Active() const { return open_; }
    // True right after opening exactly when the result has no row; true while closed.
    bool Eof() const { return eof_; }
    // Advances to the next row; at the end the last row read stays current.
    void Next();

    // The column whose name matches regardless of letter case.
    TDbField FieldByName(const std::string& aName) const;
    // The column at a position of the select list, 0 being the first.
    TDbField Field(int aPosition) const;
    int FieldCount() const;

private:
    friend class TDbField;

    bool IsOpenQuery() const override { return open_; }
    void OnTransactionEnding(bool forced) override;
    void OnConnectionClosing() override;
    void ReleaseHandles() noexcept override;

    void RequireOpen() const;
    // The query counts as closed from here on; the caller runs the stop rule.
    void MarkClosed();

    std::string name_;
    TDbConnection& connection_;
    TDbTransaction& transaction_;
    std::string sql_;
    DsqlStatement statement_;
    // Behind a pointer: its descriptor is a type of the client's C header.
    std::unique_ptr<ResultRow> row_;
    bool open_ = false;
    bool eof_ = true;
    bool hasRow_ = false;
};

}  // namespace zav
