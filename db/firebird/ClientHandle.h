#pragma once

namespace zav {

// A handle of the client library (attachment, transaction, statement) as its C header types it,
// which stays inside this layer's sources: an integer in 64-bit builds, a pointer in 32-bit ones.
// FbClient.h checks that the two agree.
#if defined(_LP64) || defined(__LP64__) || defined(__arch64__) || defined(_WIN64)
using ClientHandle = unsigned int;
#else
using ClientHandle = void*;
#endif

}  // namespace zav
