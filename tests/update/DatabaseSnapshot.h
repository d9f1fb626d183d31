#pragma once

#include <map>
#include <string>

#include "support/TableContents.h"
#include "support/TestDatabase.h"

namespace zav::test {

// Every row of every user table and every generator value, read on a fresh attachment.
struct DatabaseSnapshot {
    TableContents tables;
    std::map<std::string, std::string> generators;

    static DatabaseSnapshot Take(const TestDatabase& db);
};

}  // namespace zav::test
