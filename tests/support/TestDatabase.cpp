#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "db/values/SqlUtils.h"
#include "platform/EngineLockFolder.h"
#include "support/Attachment.h"
#include "support/FileText.h"
#include "support/IsqlProcess.h"

namespace zav::test {
namespace fs = std::filesystem;
namespace {

// Built databases stay here between test programs, named by a hash of what made them.
fs::path TemplateFolder() {
    const fs::path folder =
        fs::temp_directory_path() / ("zav-db-templates-" + std::to_string(getuid()));
    fs::create_directories(folder);
    return folder;
}

// The database the scripts make (each an isql-fb script text), built once and then reused.
std::string TemplateFor(const std::vector<std::string>& scripts, int dialect) {
    std::string key = "dialect " + std::to_string(dialect);
    for (const std::string& script : scripts) {
        key += '\0' + script;
    }
    std::ostringstream name;
    name << std::hex << std::hash<std::string>{}(key);
    const fs::path folder = TemplateFolder();
    const fs::path target = folder / (name.str() + ".fdb");
    if (fs::exists(target)) {
        return target.string();
    }

    // Built under a name of this process and renamed when complete, so that another test
    // program never copies half a database.
    const std::string own = name.str() + "-" + std::to_string(getpid());
    const fs::path building = folder / (own + ".fdb");
    const fs::path input = folder / (own + ".sql");
    fs::remove(building);
    std::string commands = "SET SQL DIALECT " + std::to_string(dialect) + ";\n";
    // The scripts are UTF-8; the database keeps Windows-1252 like the accounting application's.
    commands += "SET NAMES UTF8;\n";
    commands += "CREATE DATABASE " + SqlStr(building.string()) +
                " PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n";
    // One file, since isql-fb's INPUT takes no file name that holds a quote.
    for (const std::string& script : scripts) {
        commands += script + "\n";
    }
    commands += "COMMIT;\n";
    WriteFile(input, commands);

    try {
        PrepareEngineLockFolder();  // isql-fb's engine too, as the tool's for an ordinary user
        RunIsqlFb({"-q", "-b", "-user", "SYSDBA", "-i", input.string()});
    } catch (...) {
        fs::remove(input);
        fs::remove(building);
        throw;
    }
    fs::remove(input);
    fs::rename(building, target);
    return target.string();
}

}  // namespace

std::string FixturePath(const std::string& fileName) {
    return (fs::path(ZAV_FIXTURE_DIR) / fileName).string();
}

TestDatabase::TestDatabase(const std::string& templateFile, const std::string& fileName)
    : path_((fs::path(folder_.Path()) / fileName).string()) {
    fs::copy_file(templateFile, path_);
}

TestDatabase TestDatabase::FromFixture(const std::string& name) {
    std::vector<std::string> scripts = {ReadFile(FixturePath("schema.sql"))};
    if (name != "schema") {
        scripts.push_back(ReadFile(FixturePath(name + ".sql")));
    }
    return TestDatabase(TemplateFor(scripts, 3), name + "2020.zqd");
}

TestDatabase TestDatabase::WithSchema(const std::string& script) {
    return TestDatabase(TemplateFor({ReadFile(FixturePath("schema.sql")), script}, 3),
                        "Test2020.zqd");
}

TestDatabase TestDatabase::FromScript(const std::string& script, int dialect) {
    return TestDatabase(TemplateFor({script}, dialect), "Test2020.zqd");
}

void TestDatabase::Execute(const std::string& sql) const {
    ExecuteOn(path_, sql);
}

Rows TestDatabase::QueryRows(const std::string& sql) const {
    return Attachment(path_).Select(sql);
}

std::vector<std::string> TestDatabase::QueryColumn(const std::string& sql) const {
    std::vector<std::string> column;
    for (const std::vector<std::string>& row : QueryRows(sql)) {
        column.push_back(row.at(0));
    }
    return column;
}

std::int32_t TestDatabase::QueryInt(const std::string& sql) const {
    const std::vector<std::string> column = QueryColumn(sql);
    if (column.empty()) {
        ADD_FAILURE() << "no row: " << sql;
        return 0;
    }
    return std::stoi(column.front());
}

}  // namespace zav::test
