#pragma once

#include <string>
#include <vector>

#include "bench/CallTrace.h"

namespace zav::bench {

// An isql-fb script that runs the traced statements in their order, committing or rolling back
// where the trace did.
std::string IsqlScript(const std::vector<TracedCall>& calls);

// Runs isql-fb once on the script file, connected to the database, its output discarded; throws
// when isql-fb fails.
void RunIsql(const std::string& scriptPath, const std::string& databasePath);

}  // namespace zav::bench
