#pragma once

#include <string>
#include <vector>

#include "bench/CallTrace.h"

namespace zav::bench {

// Makes the traced calls again, straight on the client library: the same attach, transactions,
// statements, fetches and frees, with only what the calls themselves need (handles, an output
// descriptor with a buffer per column). The measure of what the layer adds.
// Throws on the first failed call, or when a fetch finds a row where the trace had none or the
// other way round.
void ReplayOnClient(const std::vector<TracedCall>& calls, const std::string& databasePath);

}  // namespace zav::bench
