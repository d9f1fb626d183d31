// A stand-in for the Firebird client library under Wine, where no Windows client exists: it
// exports every function the program loads and lets a connection open on any existing file, so
// the window's path through Connect, the question and Disconnect can run. Everything that would
// need a database engine fails with a status whose text names the call.
#include <ibase.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace {

constexpr ISC_STATUS kStandInError = 335544344;  // reported as an I/O error

// The last call that failed, for fb_interpret's text.
const char* lastFailedCall = "";

// A handle that is not null; the handle type is a pointer on 32-bit and an integer on 64-bit.
template <typename Handle>
Handle AnyHandle() {
    if constexpr (std::is_pointer_v<Handle>) {
        static int attachment;
        return &attachment;
    } else {
        return 1;
    }
}

void Succeed(ISC_STATUS* status) {
    status[0] = isc_arg_gds;
    status[1] = 0;
    status[2] = isc_arg_end;
}

ISC_STATUS Fail(ISC_STATUS* status, const char* call) {
    lastFailedCall = call;
    status[0] = isc_arg_gds;
    status[1] = kStandInError;
    status[2] = isc_arg_end;
    return kStandInError;
}

}  // namespace

#define STAND_IN extern "C" __declspec(dllexport)

STAND_IN ISC_STATUS ISC_EXPORT isc_attach_database(ISC_STATUS* status, short, const ISC_SCHAR* path,
                                                   isc_db_handle* handle, short, const ISC_SCHAR*) {
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        return Fail(status, "isc_attach_database");
    }
    *handle = AnyHandle<isc_db_handle>();
    Succeed(status);
    return 0;
}

STAND_IN ISC_STATUS ISC_EXPORT isc_detach_database(ISC_STATUS* status, isc_db_handle* handle) {
    *handle = 0;
    Succeed(status);
    return 0;
}

STAND_IN ISC_STATUS ISC_EXPORT isc_database_info(ISC_STATUS* status, isc_db_handle*, short,
                                                 const ISC_SCHAR*, short length,
                                                 ISC_SCHAR* answer) {
    // Dialect 3, the only item the program asks for.
    const char dialect[] = {static_cast<char>(isc_info_db_sql_dialect), 1, 0, 3,
                            static_cast<char>(isc_info_end)};
    if (length < static_cast<short>(sizeof dialect)) {
        return Fail(status, "isc_database_info");
    }
    std::memcpy(answer, dialect, sizeof dialect);
    Succeed(status);
    return 0;
}

STAND_IN ISC_STATUS ISC_EXPORT isc_start_multiple(ISC_STATUS* status, isc_tr_handle*, short,
                                                  void*) {
    return Fail(status, "isc_start_multiple");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_commit_transaction(ISC_STATUS* status, isc_tr_handle*) {
    return Fail(status, "isc_commit_transaction");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_commit_retaining(ISC_STATUS* status, isc_tr_handle*) {
    return Fail(status, "isc_commit_retaining");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_rollback_transaction(ISC_STATUS* status, isc_tr_handle*) {
    return Fail(status, "isc_rollback_transaction");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_rollback_retaining(ISC_STATUS* status, isc_tr_handle*) {
    return Fail(status, "isc_rollback_retaining");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_alloc_statement2(ISC_STATUS* status, isc_db_handle*,
                                                         isc_stmt_handle*) {
    return Fail(status, "isc_dsql_alloc_statement2");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_prepare(ISC_STATUS* status, isc_tr_handle*,
                                                isc_stmt_handle*, unsigned short, const ISC_SCHAR*,
                                                unsigned short, XSQLDA*) {
    return Fail(status, "isc_dsql_prepare");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_describe(ISC_STATUS* status, isc_stmt_handle*,
                                                 unsigned short, XSQLDA*) {
    return Fail(status, "isc_dsql_describe");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_sql_info(ISC_STATUS* status, isc_stmt_handle*, short,
                                                 const ISC_SCHAR*, short, ISC_SCHAR*) {
    return Fail(status, "isc_dsql_sql_info");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_execute(ISC_STATUS* status, isc_tr_handle*,
                                                isc_stmt_handle*, unsigned short, const XSQLDA*) {
    return Fail(status, "isc_dsql_execute");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_execute2(ISC_STATUS* status, isc_tr_handle*,
                                                 isc_stmt_handle*, unsigned short, const XSQLDA*,
                                                 const XSQLDA*) {
    return Fail(status, "isc_dsql_execute2");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_fetch(ISC_STATUS* status, isc_stmt_handle*, unsigned short,
                                              const XSQLDA*) {
    return Fail(status, "isc_dsql_fetch");
}

STAND_IN ISC_STATUS ISC_EXPORT isc_dsql_free_statement(ISC_STATUS* status, isc_stmt_handle*,
                                                       unsigned short) {
    Succeed(status);
    return 0;
}

STAND_IN ISC_LONG ISC_EXPORT fb_interpret(ISC_SCHAR* buffer, unsigned int size,
                                          const ISC_STATUS** cursor) {
    const ISC_STATUS* status = *cursor;
    if (status[0] != isc_arg_gds || status[1] == 0) {
        return 0;
    }
    *cursor = status + 2;
    return std::snprintf(buffer, size, "Ersatz-Client ohne Datenbank: %s", lastFailedCall);
}

STAND_IN ISC_LONG ISC_EXPORT isc_sqlcode(const ISC_STATUS* status) {
    return status[1] == 0 ? 0 : -902;
}
