#pragma once

#include <memory>
#include <string>
#include <vector>

namespace zav {

struct FbClient;

// The Firebird client library, loaded at run time from the first of its files that loads and has
// every function the layer calls. The program is not linked against it, so it starts without one
// and reports a missing library only when the first database component needs it. Components made
// with it must not outlive it; the library itself stays loaded until the process ends.
class ClientLibrary {
public:
    explicit ClientLibrary(std::vector<std::string> files);
    ~ClientLibrary();
    ClientLibrary(const ClientLibrary&) = delete;
    ClientLibrary& operator=(const ClientLibrary&) = delete;

    // Loads the library at the first call. Throws ClientLibraryError when no file loads with every
    // function; a later call tries again.
    const FbClient& Functions();

    // The system's client library: libfbclient.so.2; on Windows fbclient.dll, then gds32.dll.
    static ClientLibrary& System();

private:
    std::vector<std::string> files_;
    std::unique_ptr<FbClient> functions_;
};

}  // namespace zav
