#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zav::test {

using Rows = std::vector<std::vector<std::string>>;
using TableContents = std::map<std::string, Rows>;

// The rows of every user table (blob columns left out), each table's rows sorted, so that two
// readings compare equal exactly when the data is the same. rowsOf runs one select and gives its
// rows as text.
TableContents ReadTableContents(const std::function<Rows(const std::string& sql)>& rowsOf);

}  // namespace zav::test
