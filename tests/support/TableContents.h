#pragma once

#include <map>
#include <set>
#include <string>

#include "support/Attachment.h"

namespace zav::test {

// What a database holds: the rows of every user table (blob columns left out) under the table's
// name, and the generators' values as rows (name, value) under kGenerators; each list sorted, so
// that two readings compare equal exactly when the data is the same.
using TableContents = std::map<std::string, Rows>;

inline constexpr const char* kGenerators = "generator";

// What the database holds, read on an attachment of its own, without the tables (or kGenerators)
// named in leaveOut. The database name may name a file or reach it through a server.
TableContents ReadTables(const std::string& databaseName,
                         const std::set<std::string>& leaveOut = {});

// Empty when after holds what before held, give or take the 5 % rate (which a failed run keeps:
// it is committed before the update proper begins) and the generators (which count outside
// transactions); otherwise what differs, for the test's message.
std::string DifferenceApartFromTheReducedRate(const TableContents& before,
                                              const TableContents& after);

}  // namespace zav::test
