#pragma once

#include <optional>
#include <string>

namespace zav {

// The places the lock folder is chosen from.
struct EngineLockPlaces {
    std::string configured;  // FIREBIRD_LOCK as this process has it, "" when unset
    std::string shared;      // the engine's own default folder
    std::string runtime;     // XDG_RUNTIME_DIR, "" when unset
    std::string temp;        // where a per-user folder "firebird-<uid>" may go
    std::string config;      // the engine's firebird.conf
};

// The folder to put in FIREBIRD_LOCK, or nothing to leave the engine as it is: a configured
// folder is kept, and the shared folder serves when this user may use it. Otherwise the engine
// gets a folder of this user's own: "firebird" in the runtime folder when that is this user's,
// else "firebird-<uid>" in the temporary folder (made with mode 0700; refused when it is a link or
// belongs to someone else). The database file itself is still held exclusively: in its default
// server mode (Super) the engine locks the whole file, whatever its lock folder. In the shared
// modes (Classic, SuperClassic) processes coordinate through the lock folder alone, so then the
// folder is never moved.
std::optional<std::string> ChooseEngineLockFolder(const EngineLockPlaces& places);

}  // namespace zav
