#include "db/firebird/ClientLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/internal/FbClient.h"
#include "platform/EngineLockFolder.h"
#ifdef _WIN32
#include "platform/win32/WinText.h"
#endif

namespace zav {
namespace {

// The accounting application's users know the library by its historical name, so the message keeps
// it whatever file was searched for.
constexpr const char* kMissingLibraryText =
    "InterBase-Bibliothek gds32.dll im Pfad nicht gefunden. Bitte installieren Sie InterBase, um "
    "diese Funktion zu verwenden";

// The casts of symbol addresses go through void (*)(), which matches any function type.
using GenericFunction = void (*)();

#ifdef _WIN32
using LibraryHandle = HMODULE;

LibraryHandle OpenLibrary(const std::string& fileName) {
    return LoadLibraryW(win32::ToUtf16(fileName).c_str());
}

GenericFunction FindSymbol(LibraryHandle library, const char* name) {
    return reinterpret_cast<GenericFunction>(GetProcAddress(library, name));
}

void CloseLibrary(LibraryHandle library) {
    FreeLibrary(library);
}

const std::vector<std::string> kLibraryFiles = {"fbclient.dll", "gds32.dll"};
#else
using LibraryHandle = void*;

LibraryHandle OpenLibrary(const std::string& fileName) {
    return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

GenericFunction FindSymbol(LibraryHandle library, const char* name) {
    return reinterpret_cast<GenericFunction>(dlsym(library, name));
}

void CloseLibrary(LibraryHandle library) {
    dlclose(library);
}

const std::vector<std::string> kLibraryFiles = {"libfbclient.so.2"};
#endif

template <typename Function>
bool Resolve(LibraryHandle library, const char* name, Function& target) {
    // The symbol's address is a function of exactly the type ibase.h declares.
    target = reinterpret_cast<Function>(FindSymbol(library, name));
    return target != nullptr;
}

bool ResolveAll(LibraryHandle library, FbClient& api) {
    return Resolve(library, "isc_attach_database", api.attachDatabase) &&
           Resolve(library, "isc_detach_database", api.detachDatabase) &&
           Resolve(library, "isc_database_info", api.databaseInfo) &&
           Resolve(library, "isc_start_multiple", api.startMultiple) &&
           Resolve(library, "isc_commit_transaction", api.commitTransaction) &&
           Resolve(library, "isc_commit_retaining", api.commitRetaining) &&
           Resolve(library, "isc_rollback_transaction", api.rollbackTransaction) &&
           Resolve(library, "isc_rollback_retaining", api.rollbackRetaining) &&
           Resolve(library, "isc_dsql_alloc_statement2", api.dsqlAllocStatement2) &&
           Resolve(library, "isc_dsql_prepare", api.dsqlPrepare) &&
           Resolve(library, "isc_dsql_describe", api.dsqlDescribe) &&
           Resolve(library, "isc_dsql_sql_info", api.dsqlSqlInfo) &&
           Resolve(library, "isc_dsql_execute", api.dsqlExecute) &&
           Resolve(library, "isc_dsql_execute2", api.dsqlExecute2) &&
           Resolve(library, "isc_dsql_fetch", api.dsqlFetch) &&
           Resolve(library, "isc_dsql_free_statement", api.dsqlFreeStatement) &&
           Resolve(library, "fb_interpret", api.interpret) &&
           Resolve(library, "isc_sqlcode", api.sqlcode) &&
           Resolve(library, "isc_portable_integer", api.portableInteger);
}

}  // namespace

ClientLibrary::ClientLibrary(std::vector<std::string> files) : files_(std::move(files)) {}

ClientLibrary::~ClientLibrary() = default;

const FbClient& ClientLibrary::Functions() {
    if (functions_) {
        return *functions_;
    }
    // The engine reads its lock folder when it loads, so it must be settled before any library.
    [[maybe_unused]] static const bool lockFolderPrepared = (PrepareEngineLockFolder(), true);
    // The first file that loads and has every function wins.
    for (const std::string& file : files_) {
        LibraryHandle library = OpenLibrary(file);
        if (library == nullptr) {
            continue;
        }
        auto api = std::make_unique<FbClient>();
        if (ResolveAll(library, *api)) {
            Resolve(library, "fb_cancel_operation", api->cancelOperation);  // optional
            functions_ = std::move(api);
            return *functions_;
        }
        CloseLibrary(library);
    }
    throw ClientLibraryError(kMissingLibraryText);
}

ClientLibrary& ClientLibrary::System() {
    static ClientLibrary system(kLibraryFiles);
    return system;
}

}  // namespace zav
