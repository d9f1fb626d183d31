// Prints what a database file holds, one line each, so that two files compare with diff: every row
// of every user table as "TABLE<tab>value<tab>..." (tables and rows sorted, blobs left out), then
// every generator as "generator<tab>NAME<tab>value". --leave-out names tables, or "generator",
// whose lines are left out.
//   usage: zav_table_dump [--leave-out NAME[,NAME...]] DB
#include <clocale>
#include <exception>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "support/TableContents.h"

int main(int argc, char** argv) {
    std::set<std::string> leaveOut;
    if (argc == 4 && std::string(argv[1]) == "--leave-out") {
        std::istringstream names(argv[2]);
        for (std::string name; std::getline(names, name, ',');) {
            leaveOut.insert(name);
        }
    } else if (argc != 2) {
        std::cerr << "usage: zav_table_dump [--leave-out NAME[,NAME...]] DB" << std::endl;
        return 2;
    }
    // The client library reads a file name in the locale's code page, as in the Qt front end.
    std::setlocale(LC_ALL, "");
    try {
        std::string out;
        for (const auto& [table, rows] : zav::test::ReadTables(argv[argc - 1], leaveOut)) {
            for (const auto& row : rows) {
                out += table;
                for (const std::string& value : row) {
                    out += '\t' + value;
                }
                out += '\n';
            }
        }
        std::cout << out;
    } catch (const std::exception& error) {
        std::cerr << error.what() << std::endl;
        return 1;
    }
    return 0;
}
