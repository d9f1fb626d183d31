// Prints what a database file holds, one line each, so that two files compare with diff: every row
// of every user table as "TABLE<tab>value<tab>..." (tables and rows sorted, blobs left out), then
// every generator as "generator<tab>NAME<tab>value".
//   usage: zav_table_dump DB
#include <clocale>
#include <exception>
#include <iostream>
#include <string>

#include "support/TableContents.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zav_table_dump DB" << std::endl;
        return 2;
    }
    // The client library reads a file name in the locale's code page, as in the Qt front end.
    std::setlocale(LC_ALL, "");
    try {
        std::string out;
        for (const auto& [table, rows] : zav::test::ReadTables(argv[1])) {
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
