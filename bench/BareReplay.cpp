#include "bench/BareReplay.h"

#include <ibase.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>

#include "db/firebird/ClientLibrary.h"
#include "db/firebird/internal/FbClient.h"

namespace zav::bench {
namespace {

using Kind = TracedCall::Kind;

constexpr short kInitialColumns = 32;
constexpr unsigned short kDialect = 3;

// The layout isc_start_multiple reads for each database.
struct TransactionEntry {
    isc_db_handle* database;
    long parameterLength;
    const char* parameters;
};

struct FreeDeleter {
    void operator()(XSQLDA* descriptor) const { std::free(descriptor); }
};

// A statement handle with the output descriptor of its select and a buffer per column.
struct Statement {
    isc_stmt_handle handle{};
    std::unique_ptr<XSQLDA, FreeDeleter> output;
    std::vector<std::vector<char>> buffers;
    std::vector<short> nullFlags;
};

class Replayer {
public:
    explicit Replayer(const std::string& path)
        : api_(ClientLibrary::System().Functions()), path_(path) {}

    ~Replayer() {
        // Only after a failure is anything left; a replay that went through leaves nothing.
        for (auto& [id, statement] : statements_) {
            if (statement.handle != isc_stmt_handle{}) {
                api_.dsqlFreeStatement(status_, &statement.handle, DSQL_drop);
            }
        }
        if (transaction_ != isc_tr_handle{}) {
            api_.rollbackTransaction(status_, &transaction_);
        }
        if (database_ != isc_db_handle{}) {
            api_.detachDatabase(status_, &database_);
        }
    }

    void Run(const TracedCall& call) {
        switch (call.kind) {
            case Kind::Attach:
                Attach();
                break;
            case Kind::DatabaseInfo: {
                const char items[] = {isc_info_db_sql_dialect, isc_info_end};
                char answer[32];
                Check(api_.databaseInfo(status_, &database_, sizeof items, items, sizeof answer,
                                        answer),
                      "database info");
                break;
            }
            case Kind::Start: {
                TransactionEntry entry{&database_, 0, nullptr};
                Check(api_.startMultiple(status_, &transaction_, 1, &entry), "start");
                break;
            }
            case Kind::Commit:
                Check(api_.commitTransaction(status_, &transaction_), "commit");
                break;
            case Kind::CommitRetaining:
                Check(api_.commitRetaining(status_, &transaction_), "commit retaining");
                break;
            case Kind::Rollback:
                Check(api_.rollbackTransaction(status_, &transaction_), "rollback");
                break;
            case Kind::RollbackRetaining:
                Check(api_.rollbackRetaining(status_, &transaction_), "rollback retaining");
                break;
            case Kind::Allocate: {
                Statement& statement = statements_[call.statement];
                statement = Statement{};
                Check(api_.dsqlAllocStatement2(status_, &database_, &statement.handle), "alloc");
                break;
            }
            case Kind::Prepare:
                Check(api_.dsqlPrepare(status_, &transaction_, &Find(call).handle, 0,
                                       call.sql.c_str(), kDialect, nullptr),
                      "prepare");
                break;
            case Kind::Describe:
                Describe(Find(call));
                break;
            case Kind::StatementInfo: {
                const char items[] = {isc_info_sql_stmt_type};
                char answer[16];
                Check(api_.dsqlSqlInfo(status_, &Find(call).handle, sizeof items, items,
                                       sizeof answer, answer),
                      "statement info");
                break;
            }
            case Kind::Execute:
                Check(api_.dsqlExecute(status_, &transaction_, &Find(call).handle, SQLDA_VERSION1,
                                       nullptr),
                      "execute");
                break;
            case Kind::Open:
                Check(api_.dsqlExecute2(status_, &transaction_, &Find(call).handle, SQLDA_VERSION1,
                                        nullptr, nullptr),
                      "open");
                break;
            case Kind::Fetch:
                Fetch(Find(call), call.noRow);
                break;
            case Kind::Free: {
                Statement& statement = Find(call);
                Check(api_.dsqlFreeStatement(status_, &statement.handle,
                                             static_cast<unsigned short>(call.option)),
                      "free");
                if (call.option == DSQL_drop) {
                    statements_.erase(call.statement);
                }
                break;
            }
            case Kind::Detach:
                Check(api_.detachDatabase(status_, &database_), "detach");
                break;
        }
    }

private:
    void Attach() {
        std::string parameters(1, static_cast<char>(isc_dpb_version1));
        for (const auto& [code, value] : {std::pair<char, std::string>{isc_dpb_user_name, "sysdba"},
                                          {isc_dpb_password, "quillbarn"}}) {
            parameters += code;
            parameters += static_cast<char>(value.size());
            parameters += value;
        }
        Check(api_.attachDatabase(status_, 0, path_.c_str(), &database_,
                                  static_cast<short>(parameters.size()), parameters.data()),
              "attach");
    }

    void Describe(Statement& statement) {
        short capacity = kInitialColumns;
        for (;;) {
            statement.output.reset(static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(capacity))));
            statement.output->version = SQLDA_VERSION1;
            statement.output->sqln = capacity;
            Check(api_.dsqlDescribe(status_, &statement.handle, SQLDA_VERSION1,
                                    statement.output.get()),
                  "describe");
            if (statement.output->sqld <= capacity) {
                break;
            }
            capacity = statement.output->sqld;
        }
        const short columns = statement.output->sqld;
        statement.buffers.assign(static_cast<std::size_t>(columns), {});
        statement.nullFlags.assign(static_cast<std::size_t>(columns), 0);
        for (short i = 0; i < columns; ++i) {
            XSQLVAR& column = statement.output->sqlvar[i];
            // A varying text carries its two-byte length in front.
            const std::size_t size = static_cast<std::size_t>(column.sqllen) + sizeof(short);
            statement.buffers[static_cast<std::size_t>(i)].resize(size);
            column.sqldata = statement.buffers[static_cast<std::size_t>(i)].data();
            column.sqlind = &statement.nullFlags[static_cast<std::size_t>(i)];
        }
    }

    void Fetch(Statement& statement, bool expectNoRow) {
        const ISC_STATUS result =
            api_.dsqlFetch(status_, &statement.handle, SQLDA_VERSION1, statement.output.get());
        if (result == 100) {
            if (!expectNoRow) {
                throw std::runtime_error("replay: a fetch found no row where the trace had one");
            }
            return;
        }
        Check(result, "fetch");
        if (expectNoRow) {
            throw std::runtime_error("replay: a fetch found a row where the trace had none");
        }
    }

    Statement& Find(const TracedCall& call) {
        const auto found = statements_.find(call.statement);
        if (found == statements_.end()) {
            throw std::runtime_error("replay: statement " + std::to_string(call.statement) +
                                     " was not allocated");
        }
        return found->second;
    }

    void Check(ISC_STATUS result, const char* what) {
        if (result == 0) {
            return;
        }
        char text[512] = {};
        const ISC_STATUS* cursor = status_;
        api_.interpret(text, sizeof text, &cursor);
        throw std::runtime_error(std::string("replay: ") + what + " failed: " + text);
    }

    const FbClient& api_;
    std::string path_;
    ISC_STATUS_ARRAY status_{};
    isc_db_handle database_{};
    isc_tr_handle transaction_{};
    std::map<int, Statement> statements_;
};

}  // namespace

void ReplayOnClient(const std::vector<TracedCall>& calls, const std::string& databasePath) {
    Replayer replayer(databasePath);
    for (const TracedCall& call : calls) {
        replayer.Run(call);
    }
}

}  // namespace zav::bench
