#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempFolder.h"

namespace zav::test {

// A fresh database file for one test, made from the SQL scripts in tests/fixtures, in a folder of
// its own that is removed afterwards. Each kind of database is built once with isql-fb and then
// copied, so a test pays only for the copy.
class TestDatabase {
public:
    // fixtures/schema.sql followed by fixtures/<name>.sql; "schema" gives the empty tables alone.
    static TestDatabase FromFixture(const std::string& name);
    // fixtures/schema.sql followed by the given script (isql-fb syntax: statements end with ";").
    static TestDatabase WithSchema(const std::string& script);
    // An empty database of the given SQL dialect, followed by the given script.
    static TestDatabase FromScript(const std::string& script, int dialect = 3);

    const std::string& Path() const { return path_; }
    std::string Folder() const { return folder_.Path().string(); }

    // Runs one statement on a fresh attachment in a transaction of its own and commits it.
    void Execute(const std::string& sql) const;
    // Every row of a select, read on a fresh attachment; each value as text ("" for null).
    std::vector<std::vector<std::string>> QueryRows(const std::string& sql) const;
    // The first column of every row.
    std::vector<std::string> QueryColumn(const std::string& sql) const;
    // The first column of the only row, as an integer; fails the calling test when there is no row.
    std::int32_t QueryInt(const std::string& sql) const;

private:
    TestDatabase(const std::string& templateFile, const std::string& fileName);

    TempFolder folder_;
    std::string path_;
};

// The path of a file in tests/fixtures.
std::string FixturePath(const std::string& fileName);

}  // namespace zav::test
