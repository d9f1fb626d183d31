#pragma once

#include <string>
#include <vector>

#include "bench/CallTrace.h"

namespace zav::bench {

// An isql-fb script that connects to the database and runs the traced statements in their order,
// committing or rolling back where the trace did.
std::string IsqlScript(const std::vector<TracedCall>& calls, const std::string& databasePath);

// Runs isql-fb once on the script file, its output discarded; throws when isql-fb fails.
void RunIsql(const std::string& scriptPath);

}  // namespace zav::bench
