// A stand-in for the Firebird client library that forwards every call the database layer makes to
// the real libfbclient.so.2. Tests load it as their ClientLibrary to see the calls
// (a trace, one line per call) and to act at a chosen statement: kill the process, stop a server.
// The benchmark uses the trace to replay the exact calls of an update without the layer.
#include "support/ClientTap.h"

#include <dlfcn.h>
#include <ibase.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "db/firebird/internal/FbClient.h"

namespace {

using GenericFunction = void (*)();

// The same table of functions the database layer uses, filled from the real library.
using RealClient = zav::FbClient;

template <typename Function>
void Resolve(void* library, const char* name, Function& target) {
    target = reinterpret_cast<Function>(reinterpret_cast<GenericFunction>(dlsym(library, name)));
    if (target == nullptr) {
        std::fprintf(stderr, "client tap: %s missing in libfbclient.so.2\n", name);
        std::abort();
    }
}

// Loaded with the tap: a tap without the real library behind it would only fail later and less
// clearly.
const RealClient& Real() {
    static const RealClient real = [] {
        void* library = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            std::fprintf(stderr, "client tap: %s\n", dlerror());
            std::abort();
        }
        RealClient client;
        Resolve(library, "isc_attach_database", client.attachDatabase);
        Resolve(library, "isc_detach_database", client.detachDatabase);
        Resolve(library, "isc_database_info", client.databaseInfo);
        Resolve(library, "isc_start_multiple", client.startMultiple);
        Resolve(library, "isc_commit_transaction", client.commitTransaction);
        Resolve(library, "isc_commit_retaining", client.commitRetaining);
        Resolve(library, "isc_rollback_transaction", client.rollbackTransaction);
        Resolve(library, "isc_rollback_retaining", client.rollbackRetaining);
        Resolve(library, "isc_dsql_alloc_statement2", client.dsqlAllocStatement2);
        Resolve(library, "isc_dsql_prepare", client.dsqlPrepare);
        Resolve(library, "isc_dsql_describe", client.dsqlDescribe);
        Resolve(library, "isc_dsql_sql_info", client.dsqlSqlInfo);
        Resolve(library, "isc_dsql_execute", client.dsqlExecute);
        Resolve(library, "isc_dsql_execute2", client.dsqlExecute2);
        Resolve(library, "isc_dsql_fetch", client.dsqlFetch);
        Resolve(library, "isc_dsql_free_statement", client.dsqlFreeStatement);
        Resolve(library, "fb_interpret", client.interpret);
        Resolve(library, "isc_sqlcode", client.sqlcode);
        Resolve(library, "isc_portable_integer", client.portableInteger);
        Resolve(library, "fb_cancel_operation", client.cancelOperation);
        return client;
    }();
    return real;
}

// What the tap knows and whom it tells. The layer runs on one thread, but a test may set hooks
// from another, so every access is under the lock.
struct TapState {
    std::mutex mutex;
    ZavTapTraceSink traceSink = nullptr;
    void* traceContext = nullptr;
    ZavTapExecuteHook executeHook = nullptr;
    void* executeContext = nullptr;
    // Statement handles get small numbers at allocation, so a trace reads the same in every run.
    std::map<isc_stmt_handle, int> statementIds;
    std::map<isc_stmt_handle, std::string> statementTexts;
    int nextStatementId = 1;
    // Calls to fail once, by kind, with their error code and system error.
    std::map<std::string, std::pair<long, long>> failures;
};

TapState& State() {
    static TapState state;
    return state;
}

std::string Escaped(const char* text, unsigned short length) {
    std::string result;
    const std::size_t size = length != 0 ? length : std::char_traits<char>::length(text);
    for (std::size_t i = 0; i < size; ++i) {
        switch (text[i]) {
            case '\\':
                result += "\\\\";
                break;
            case '\n':
                result += "\\n";
                break;
            case '\r':
                result += "\\r";
                break;
            case '\t':
                result += "\\t";
                break;
            default:
                result += text[i];
        }
    }
    return result;
}

void Trace(const std::string& line) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.traceSink != nullptr) {
        state.traceSink(line.c_str(), state.traceContext);
    }
}

std::string Result(ISC_STATUS result) {
    return result == 0 ? "" : "\t" + std::to_string(result);
}

int StatementId(isc_stmt_handle* handle) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    const auto found = state.statementIds.find(*handle);
    return found == state.statementIds.end() ? 0 : found->second;
}

std::string StatementText(isc_stmt_handle* handle) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    const auto found = state.statementTexts.find(*handle);
    return found == state.statementTexts.end() ? std::string() : found->second;
}

void RunExecuteHook(isc_stmt_handle* handle) {
    ZavTapExecuteHook hook = nullptr;
    void* context = nullptr;
    {
        TapState& state = State();
        std::lock_guard lock(state.mutex);
        hook = state.executeHook;
        context = state.executeContext;
    }
    if (hook != nullptr) {
        const std::string text = StatementText(handle);
        hook(text.c_str(), context);
    }
}

// Whether the call is to fail now; then the status holds the planned error and the result is it.
bool InjectedFailure(const std::string& call, ISC_STATUS* status, ISC_STATUS& result) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    const auto planned = state.failures.find(call);
    if (planned == state.failures.end()) {
        return false;
    }
    const auto [code, systemError] = planned->second;
    status[0] = isc_arg_gds;
    status[1] = code;
    status[2] = isc_arg_end;
    if (systemError != 0) {
        status[2] = isc_arg_unix;
        status[3] = systemError;
        status[4] = isc_arg_end;
    }
    result = code;
    state.failures.erase(planned);
    return true;
}

}  // namespace

extern "C" {

void zav_tap_set_trace(ZavTapTraceSink sink, void* context) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    state.traceSink = sink;
    state.traceContext = context;
}

void zav_tap_set_execute_hook(ZavTapExecuteHook hook, void* context) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    state.executeHook = hook;
    state.executeContext = context;
}

void zav_tap_fail_next(const char* call, long code, long systemError) {
    TapState& state = State();
    std::lock_guard lock(state.mutex);
    state.failures[call] = {code, systemError};
}

ISC_STATUS ISC_EXPORT isc_attach_database(ISC_STATUS* status, short nameLength,
                                          const ISC_SCHAR* name, isc_db_handle* db, short dpbLength,
                                          const ISC_SCHAR* dpb) {
    const ISC_STATUS result = Real().attachDatabase(status, nameLength, name, db, dpbLength, dpb);
    Trace("attach" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_detach_database(ISC_STATUS* status, isc_db_handle* db) {
    const ISC_STATUS result = Real().detachDatabase(status, db);
    Trace("detach" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_database_info(ISC_STATUS* status, isc_db_handle* db, short itemsLength,
                                        const ISC_SCHAR* items, short bufferLength,
                                        ISC_SCHAR* buffer) {
    const ISC_STATUS result =
        Real().databaseInfo(status, db, itemsLength, items, bufferLength, buffer);
    Trace("dbinfo" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_start_multiple(ISC_STATUS* status, isc_tr_handle* transaction,
                                         short count, void* vector) {
    const ISC_STATUS result = Real().startMultiple(status, transaction, count, vector);
    Trace("start" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_commit_transaction(ISC_STATUS* status, isc_tr_handle* transaction) {
    ISC_STATUS result = 0;
    if (!InjectedFailure("commit", status, result)) {
        result = Real().commitTransaction(status, transaction);
    }
    Trace("commit" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_commit_retaining(ISC_STATUS* status, isc_tr_handle* transaction) {
    const ISC_STATUS result = Real().commitRetaining(status, transaction);
    Trace("commit_retaining" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_rollback_transaction(ISC_STATUS* status, isc_tr_handle* transaction) {
    ISC_STATUS result = 0;
    if (!InjectedFailure("rollback", status, result)) {
        result = Real().rollbackTransaction(status, transaction);
    }
    Trace("rollback" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_rollback_retaining(ISC_STATUS* status, isc_tr_handle* transaction) {
    const ISC_STATUS result = Real().rollbackRetaining(status, transaction);
    Trace("rollback_retaining" + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_alloc_statement2(ISC_STATUS* status, isc_db_handle* db,
                                                isc_stmt_handle* statement) {
    const ISC_STATUS result = Real().dsqlAllocStatement2(status, db, statement);
    int id = 0;
    if (result == 0) {
        TapState& state = State();
        std::lock_guard lock(state.mutex);
        id = state.nextStatementId++;
        state.statementIds[*statement] = id;
        state.statementTexts.erase(*statement);
    }
    Trace("alloc\t" + std::to_string(id) + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_prepare(ISC_STATUS* status, isc_tr_handle* transaction,
                                       isc_stmt_handle* statement, unsigned short length,
                                       const ISC_SCHAR* text, unsigned short dialect,
                                       XSQLDA* sqlda) {
    {
        TapState& state = State();
        std::lock_guard lock(state.mutex);
        state.statementTexts[*statement] =
            length != 0 ? std::string(text, length) : std::string(text);
    }
    const ISC_STATUS result =
        Real().dsqlPrepare(status, transaction, statement, length, text, dialect, sqlda);
    Trace("prepare\t" + std::to_string(StatementId(statement)) + "\t" + Escaped(text, length) +
          Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_describe(ISC_STATUS* status, isc_stmt_handle* statement,
                                        unsigned short version, XSQLDA* sqlda) {
    const ISC_STATUS result = Real().dsqlDescribe(status, statement, version, sqlda);
    Trace("describe\t" + std::to_string(StatementId(statement)) + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_sql_info(ISC_STATUS* status, isc_stmt_handle* statement,
                                        short itemsLength, const ISC_SCHAR* items,
                                        short bufferLength, ISC_SCHAR* buffer) {
    const ISC_STATUS result =
        Real().dsqlSqlInfo(status, statement, itemsLength, items, bufferLength, buffer);
    Trace("info\t" + std::to_string(StatementId(statement)) + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_execute(ISC_STATUS* status, isc_tr_handle* transaction,
                                       isc_stmt_handle* statement, unsigned short dialect,
                                       const XSQLDA* sqlda) {
    RunExecuteHook(statement);
    ISC_STATUS result = 0;
    if (!InjectedFailure("exec", status, result)) {
        result = Real().dsqlExecute(status, transaction, statement, dialect, sqlda);
    }
    Trace("exec\t" + std::to_string(StatementId(statement)) + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_execute2(ISC_STATUS* status, isc_tr_handle* transaction,
                                        isc_stmt_handle* statement, unsigned short dialect,
                                        const XSQLDA* in, const XSQLDA* out) {
    RunExecuteHook(statement);
    const ISC_STATUS result = Real().dsqlExecute2(status, transaction, statement, dialect, in, out);
    Trace("open\t" + std::to_string(StatementId(statement)) + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_fetch(ISC_STATUS* status, isc_stmt_handle* statement,
                                     unsigned short version, const XSQLDA* sqlda) {
    const ISC_STATUS result = Real().dsqlFetch(status, statement, version, sqlda);
    Trace("fetch\t" + std::to_string(StatementId(statement)) + Result(result));
    return result;
}

ISC_STATUS ISC_EXPORT isc_dsql_free_statement(ISC_STATUS* status, isc_stmt_handle* statement,
                                              unsigned short option) {
    const int id = StatementId(statement);
    const isc_stmt_handle handle = *statement;
    const ISC_STATUS result = Real().dsqlFreeStatement(status, statement, option);
    if (option == DSQL_drop) {
        TapState& state = State();
        std::lock_guard lock(state.mutex);
        state.statementIds.erase(handle);
        state.statementTexts.erase(handle);
    }
    Trace("free\t" + std::to_string(id) + "\t" + std::to_string(option) + Result(result));
    return result;
}

ISC_LONG ISC_EXPORT fb_interpret(ISC_SCHAR* buffer, unsigned int size, const ISC_STATUS** vector) {
    return Real().interpret(buffer, size, vector);
}

ISC_LONG ISC_EXPORT isc_sqlcode(const ISC_STATUS* status) {
    return Real().sqlcode(status);
}

ISC_INT64 ISC_EXPORT isc_portable_integer(const ISC_UCHAR* bytes, short length) {
    return Real().portableInteger(bytes, length);
}

ISC_STATUS ISC_EXPORT fb_cancel_operation(ISC_STATUS* status, isc_db_handle* db,
                                          ISC_USHORT option) {
    const ISC_STATUS result = Real().cancelOperation(status, db, option);
    Trace("cancel\t" + std::to_string(option) + Result(result));
    return result;
}

}  // extern "C"
