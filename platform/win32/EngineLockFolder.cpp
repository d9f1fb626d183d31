#include "platform/EngineLockFolder.h"

namespace zav {

// On Windows the engine keeps its lock files below the common application data folder, which
// every user may write: nothing to prepare.
void PrepareEngineLockFolder() {}

}  // namespace zav
