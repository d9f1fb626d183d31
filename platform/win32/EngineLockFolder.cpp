#include "platform/EngineLockFolder.h"

namespace zav {

// The Windows engine keeps its locks in named kernel objects, open to every user.
void PrepareEngineLockFolder() {}

}  // namespace zav
