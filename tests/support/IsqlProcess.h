#pragma once

#include <string>
#include <vector>

namespace zav::test {

// Runs isql-fb with these arguments as they are, without a shell, so that no path needs quoting:
// its input is empty, its output and errors go to the file at outputPath ("/dev/null" drops
// them). True when it ends with status 0. A run of more than ten minutes hangs and is killed.
bool RunIsqlFb(const std::vector<std::string>& arguments, const std::string& outputPath);

}  // namespace zav::test
