#pragma once

// The control functions of the client tap (ClientTap.cpp), a module that stands in for the client
// library and forwards to it. Trace lines are tab-separated: the call ("attach", "start",
// "alloc", "prepare", "describe", "info", "exec", "open", "fetch", "free", "commit", "rollback",
// "detach", ...), the statement's number where there is one, the text of a prepare or the option of
// a free, and last the call's result when it is not 0 (100 for a fetch past the last row).
extern "C" {
typedef void (*ZavTapTraceSink)(const char* line, void* context);
// Runs before each execute (statement or query), with the statement's prepared text.
typedef void (*ZavTapExecuteHook)(const char* sql, void* context);

void zav_tap_set_trace(ZavTapTraceSink sink, void* context);
void zav_tap_set_execute_hook(ZavTapExecuteHook hook, void* context);
// Makes the next call of the kind ("exec", "commit" or "rollback") fail with the error
// code without reaching the library, which goes on holding what the call would have ended. An
// execute hook may set it for the statement it sees. A system error other than 0 follows the code
// as the operating system's (isc_arg_unix).
void zav_tap_fail_next(const char* call, long code, long systemError);
}

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace zav::tap {

// The control functions of a tap that the client loader has loaded from tapFile already.
struct Control {
    decltype(&zav_tap_set_trace) setTrace = nullptr;
    decltype(&zav_tap_set_execute_hook) setExecuteHook = nullptr;
    decltype(&zav_tap_fail_next) failNextWithSystemError = nullptr;

    void failNext(const char* call, long code) const { failNextWithSystemError(call, code, 0); }

    static Control Of(const std::string& tapFile) {
        // RTLD_NOLOAD: the same instance the loader uses, never a second copy.
        void* library = dlopen(tapFile.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (library == nullptr) {
            throw std::runtime_error("client tap not loaded: " + tapFile);
        }
        Control control;
        control.setTrace = reinterpret_cast<decltype(&zav_tap_set_trace)>(
            reinterpret_cast<void (*)()>(dlsym(library, "zav_tap_set_trace")));
        control.setExecuteHook = reinterpret_cast<decltype(&zav_tap_set_execute_hook)>(
            reinterpret_cast<void (*)()>(dlsym(library, "zav_tap_set_execute_hook")));
        control.failNextWithSystemError = reinterpret_cast<decltype(&zav_tap_fail_next)>(
            reinterpret_cast<void (*)()>(dlsym(library, "zav_tap_fail_next")));
        // The loader keeps its own reference; this one only found the symbols.
        dlclose(library);
        if (control.setTrace == nullptr || control.setExecuteHook == nullptr ||
            control.failNextWithSystemError == nullptr) {
            throw std::runtime_error("not a client tap: " + tapFile);
        }
        return control;
    }
};

}  // namespace zav::tap
