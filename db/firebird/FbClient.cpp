#include "db/firebird/FbClient.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <memory>
#include <mutex>
#include <vector>

#include "db/firebird/DatabaseErrors.h"
#include "db/values/Windows1252.h"
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

void ResolveOptional(LibraryHandle library, FbClient& api) {
    Resolve(library, "fb_cancel_operation", api.cancelOperation);
}

// Tries the files in order; the first that loads and has every function wins.
std::unique_ptr<FbClient> Load(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        LibraryHandle library = OpenLibrary(file);
        if (library == nullptr) {
            continue;
        }
        auto api = std::make_unique<FbClient>();
        if (ResolveAll(library, *api)) {
            ResolveOptional(library, *api);
            return api;  // stays loaded until the process ends
        }
        CloseLibrary(library);
    }
    return nullptr;
}

struct LoaderState {
    std::mutex mutex;
    std::unique_ptr<FbClient> system;
    std::optional<std::string> overrideFile;
    bool lockFolderPrepared = false;
    // Every library loaded for a test override: components may still point into it.
    std::vector<std::unique_ptr<FbClient>> overrides;
};

LoaderState& State() {
    static LoaderState state;
    return state;
}

}  // namespace

const FbClient& FbClient::Get() {
    LoaderState& state = State();
    std::lock_guard lock(state.mutex);
    // The engine reads its lock folder when it loads, so it must be settled before any library.
    if (!state.lockFolderPrepared) {
        PrepareEngineLockFolder();
        state.lockFolderPrepared = true;
    }
    if (state.overrideFile) {
        std::unique_ptr<FbClient> api = Load({*state.overrideFile});
        if (!api) {
            throw ClientLibraryError(kMissingLibraryText);
        }
        state.overrides.push_back(std::move(api));
        return *state.overrides.back();
    }
    if (!state.system) {
        state.system = Load(kLibraryFiles);
        if (!state.system) {
            throw ClientLibraryError(kMissingLibraryText);
        }
    }
    return *state.system;
}

#ifdef _WIN32
std::string ToClientCodePage(const std::string& utf8) {
    const std::wstring wide = win32::ToUtf16(utf8);
    if (wide.empty()) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length,
                        nullptr, nullptr);
    return bytes;
}

std::string FromClientCodePage(const std::string& bytes) {
    // Server texts quote object names in UTF-8 and paths in the ANSI code page.
    if (bytes.empty() || IsValidUtf8(bytes)) {
        return bytes;
    }
    const int length =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        length);
    return win32::ToUtf8(wide);
}
#else
// The locale's code page is normally UTF-8 here, so a path with umlauts still names the file.
std::string ToClientCodePage(const std::string& utf8) {
    return utf8;
}

std::string FromClientCodePage(const std::string& bytes) {
    return IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes);
}
#endif

namespace testing {
void OverrideClientLibraryFile(std::optional<std::string> fileName) {
    LoaderState& state = State();
    std::lock_guard lock(state.mutex);
    state.overrideFile = std::move(fileName);
}
}  // namespace testing

}  // namespace zav
