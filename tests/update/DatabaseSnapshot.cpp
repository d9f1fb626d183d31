#include "DatabaseSnapshot.h"

namespace zav::test {

DatabaseSnapshot DatabaseSnapshot::Take(const TestDatabase& db) {
    DatabaseSnapshot snapshot;
    snapshot.tables = ReadTableContents([&](const std::string& sql) { return db.QueryRows(sql); });
    const auto generators = db.QueryColumn(
        "select trim(RDB$GENERATOR_NAME) from RDB$GENERATORS where RDB$SYSTEM_FLAG = 0");
    for (const std::string& generator : generators) {
        snapshot.generators[generator] =
            db.QueryColumn("select gen_id(" + generator + ", 0) from RDB$DATABASE").at(0);
    }
    return snapshot;
}

}  // namespace zav::test
