#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/TestDatabase.h"

namespace zav::test {

// Every row of every user table (blobs left out) and every generator value, read on a fresh
// attachment. Rows are sorted, so two snapshots compare equal exactly when the data is the same.
struct DatabaseSnapshot {
    std::map<std::string, std::vector<std::vector<std::string>>> tables;
    std::map<std::string, std::string> generators;

    static DatabaseSnapshot Take(const TestDatabase& db);
};

}  // namespace zav::test
