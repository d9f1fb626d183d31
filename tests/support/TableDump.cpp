// Prints what a database file holds, one line each, so that two files compare with diff: every row
// of every user table as "TABLE<tab>value<tab>..." (tables and rows sorted, blobs left out), then
// every generator as "generator<tab>NAME<tab>value".
//   usage: zav_table_dump DB
#include <clocale>
#include <exception>
#include <iostream>
#include <string>

#include "support/TableContents.h"
#include "support/TestDatabase.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zav_table_dump DB" << std::endl;
        return 2;
    }
    // The client library reads a file name in the locale's code page, as in the Qt front end.
    std::setlocale(LC_ALL, "");
    const std::string path = argv[1];
    try {
        const auto rowsOf = [&path](const std::string& sql) {
            return zav::test::QueryRowsOf(path, sql);
        };
        std::string out;
        for (const auto& [table, rows] : zav::test::ReadTableContents(rowsOf)) {
            for (const auto& row : rows) {
                out += table;
                for (const std::string& value : row) {
                    out += '\t' + value;
                }
                out += '\n';
            }
        }
        const auto generators = rowsOf(
            "select trim(RDB$GENERATOR_NAME) from RDB$GENERATORS where RDB$SYSTEM_FLAG = 0 "
            "order by 1");
        for (const auto& generator : generators) {
            const std::string& name = generator.at(0);
            out += "generator\t" + name + '\t' +
                   rowsOf("select gen_id(" + name + ", 0) from RDB$DATABASE").at(0).at(0) + '\n';
        }
        std::cout << out;
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
    return 0;
}
