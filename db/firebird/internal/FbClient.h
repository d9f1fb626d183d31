#pragma once

#include <ibase.h>

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

#include "db/firebird/ClientHandle.h"

namespace zav {

static_assert(std::is_same_v<ClientHandle, FB_API_HANDLE>, "ClientHandle differs from ibase.h");

// The functions of the Firebird client library that the database layer calls, as a ClientLibrary
// has loaded them.
struct FbClient {
    decltype(&::isc_attach_database) attachDatabase = nullptr;
    decltype(&::isc_detach_database) detachDatabase = nullptr;
    decltype(&::isc_database_info) databaseInfo = nullptr;
    decltype(&::isc_start_multiple) startMultiple = nullptr;
    decltype(&::isc_commit_transaction) commitTransaction = nullptr;
    decltype(&::isc_commit_retaining) commitRetaining = nullptr;
    decltype(&::isc_rollback_transaction) rollbackTransaction = nullptr;
    decltype(&::isc_rollback_retaining) rollbackRetaining = nullptr;
    decltype(&::isc_dsql_alloc_statement2) dsqlAllocStatement2 = nullptr;
    decltype(&::isc_dsql_prepare) dsqlPrepare = nullptr;
    decltype(&::isc_dsql_describe) dsqlDescribe = nullptr;
    decltype(&::isc_dsql_sql_info) dsqlSqlInfo = nullptr;
    decltype(&::isc_dsql_execute) dsqlExecute = nullptr;
    decltype(&::isc_dsql_execute2) dsqlExecute2 = nullptr;
    decltype(&::isc_dsql_fetch) dsqlFetch = nullptr;
    decltype(&::isc_dsql_free_statement) dsqlFreeStatement = nullptr;
    decltype(&::fb_interpret) interpret = nullptr;
    decltype(&::isc_sqlcode) sqlcode = nullptr;
    decltype(&::isc_portable_integer) portableInteger = nullptr;
    // Optional (older client libraries lack it): cuts an attachment off that will not detach.
    decltype(&::fb_cancel_operation) cancelOperation = nullptr;
};

// Appends a parameter block's item with a four-byte number, least significant byte first, as the
// client library reads the numbers of its parameter blocks.
void AppendNumberItem(std::string& block, char code, std::uint32_t value);

// Text for the client library: the database path and parameter values go in the system's 8-bit
// code page (the ANSI code page on Windows; on other systems the bytes pass unchanged). Nothing
// when that code page cannot hold the text exactly: the client must never get another name.
std::optional<std::string> ToClientCodePage(const std::string& utf8);
// Text from the client library (error messages, which may quote a path) back to UTF-8.
std::string FromClientCodePage(const std::string& bytes);

}  // namespace zav
