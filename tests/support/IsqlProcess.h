#pragma once

#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace zav::test {

// Runs isql-fb with these arguments as they are, without a shell, so that no path needs quoting;
// its input is empty. Throws with its output when it fails, or hangs: silent for ten minutes (it
// says nothing while a long script runs).
inline void RunIsqlFb(const std::vector<std::string>& arguments) {
    ChildProcess::Options options;
    options.quietLimitMs = 10 * 60 * 1000;
    RunToCompletion("isql-fb", arguments, options);
}

}  // namespace zav::test
