#pragma once

namespace zav {

// Gives the embedded Firebird engine of this process a lock folder it can use, before the client
// library loads: the engine keeps its lock files in one shared folder, which the server package
// closes to everyone outside its group. Does nothing on Windows.
void PrepareEngineLockFolder();

}  // namespace zav
