#include "bench/CallTrace.h"

#include <map>
#include <sstream>
#include <stdexcept>

namespace zav::bench {
namespace {

using Kind = TracedCall::Kind;

const std::map<std::string, Kind>& KindsByName() {
    static const std::map<std::string, Kind> kinds = {
        {"attach", Kind::Attach},
        {"dbinfo", Kind::DatabaseInfo},
        {"start", Kind::Start},
        {"commit", Kind::Commit},
        {"commit_retaining", Kind::CommitRetaining},
        {"rollback", Kind::Rollback},
        {"rollback_retaining", Kind::RollbackRetaining},
        {"alloc", Kind::Allocate},
        {"prepare", Kind::Prepare},
        {"describe", Kind::Describe},
        {"info", Kind::StatementInfo},
        {"exec", Kind::Execute},
        {"open", Kind::Open},
        {"fetch", Kind::Fetch},
        {"free", Kind::Free},
        {"detach", Kind::Detach},
    };
    return kinds;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

std::string Unescaped(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char next = text[++i];
        result += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
    }
    return result;
}

}  // namespace

std::vector<TracedCall> ParseTrace(const std::vector<std::string>& lines) {
    std::vector<TracedCall> calls;
    for (const std::string& line : lines) {
        const std::vector<std::string> fields = Fields(line);
        const auto kind = KindsByName().find(fields[0]);
        if (kind == KindsByName().end()) {
            throw std::runtime_error("unknown call in trace: " + line);
        }
        TracedCall call;
        call.kind = kind->second;
        std::size_t next = 1;
        const bool hasStatement = call.kind >= Kind::Allocate && call.kind <= Kind::Free;
        if (hasStatement) {
            call.statement = std::stoi(fields.at(next++));
        }
        if (call.kind == Kind::Prepare) {
            call.sql = Unescaped(fields.at(next++));
        } else if (call.kind == Kind::Free) {
            call.option = std::stoi(fields.at(next++));
        }
        // A remaining field is the call's result: only a fetch may end with one (100, no row).
        if (next < fields.size()) {
            if (call.kind != Kind::Fetch || fields[next] != "100") {
                throw std::runtime_error("failed call in trace: " + line);
            }
            call.noRow = true;
        }
        calls.push_back(std::move(call));
    }
    return calls;
}

std::vector<std::string> ExecutedStatements(const std::vector<TracedCall>& calls) {
    std::map<int, std::string> prepared;
    std::vector<std::string> statements;
    for (const TracedCall& call : calls) {
        if (call.kind == Kind::Prepare) {
            prepared[call.statement] = call.sql;
        } else if (call.kind == Kind::Execute || call.kind == Kind::Open) {
            statements.push_back(prepared.at(call.statement));
        }
    }
    return statements;
}

}  // namespace zav::bench
