#include "bench/IsqlRun.h"

#include <map>

#include "support/IsqlProcess.h"

namespace zav::bench {
namespace {

using Kind = TracedCall::Kind;

}  // namespace

std::string IsqlScript(const std::vector<TracedCall>& calls) {
    std::string script;
    std::map<int, std::string> prepared;
    for (const TracedCall& call : calls) {
        switch (call.kind) {
            case Kind::Prepare:
                prepared[call.statement] = call.sql;
                break;
            case Kind::Execute:
            case Kind::Open:
                script += prepared.at(call.statement) + ";\n";
                break;
            case Kind::Commit:
                script += "COMMIT;\n";
                break;
            case Kind::Rollback:
                script += "ROLLBACK;\n";
                break;
            case Kind::CommitRetaining:
                script += "COMMIT RETAIN;\n";
                break;
            case Kind::RollbackRetaining:
                script += "ROLLBACK RETAIN;\n";
                break;
            default:
                break;
        }
    }
    return script;
}

void RunIsql(const std::string& scriptPath, const std::string& databasePath) {
    // The database named here, since isql-fb's CONNECT takes no file name that holds a quote.
    test::RunIsqlFb(
        {"-q", "-b", "-user", "sysdba", "-password", "quillbarn", databasePath, "-i", scriptPath});
}

}  // namespace zav::bench
