#pragma once

#include <string>
#include <vector>

namespace zav::bench {

// One call to the client library, as the client tap traced it.
struct TracedCall {
    enum class Kind {
        Attach,
        DatabaseInfo,
        Start,
        Commit,
        CommitRetaining,
        Rollback,
        RollbackRetaining,
        Allocate,
        Prepare,
        Describe,
        StatementInfo,
        Execute,  // a statement: isc_dsql_execute
        Open,     // a query's cursor: isc_dsql_execute2
        Fetch,
        Free,
        Detach,
    };
    Kind kind = Kind::Attach;
    int statement = 0;   // the tap's number of the statement handle
    std::string sql;     // Prepare
    int option = 0;      // Free: DSQL_close or DSQL_drop
    bool noRow = false;  // Fetch: the result had no further row
};

// The calls of a trace, in order; throws on a line it does not know or on a failed call.
std::vector<TracedCall> ParseTrace(const std::vector<std::string>& lines);

// The texts of the statements run (executed or opened), in order.
std::vector<std::string> ExecutedStatements(const std::vector<TracedCall>& calls);

}  // namespace zav::bench
