#include "DatabaseSnapshot.h"

#include <algorithm>

namespace zav::test {

DatabaseSnapshot DatabaseSnapshot::Take(const TestDatabase& db) {
    DatabaseSnapshot snapshot;
    const auto tables = db.QueryColumn(
        "select trim(RDB$RELATION_NAME) from RDB$RELATIONS "
        "where RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null order by 1");
    for (const std::string& table : tables) {
        const auto columns = db.QueryColumn(
            "select trim(rf.RDB$FIELD_NAME) from RDB$RELATION_FIELDS rf "
            "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
            "where rf.RDB$RELATION_NAME = '" +
            table +
            "' and f.RDB$FIELD_TYPE <> 261 "
            "order by rf.RDB$FIELD_POSITION");
        std::string selectList;
        for (const std::string& column : columns) {
            selectList += (selectList.empty() ? "" : ", ") + column;
        }
        auto rows = db.QueryRows("select " + selectList + " from " + table);
        std::sort(rows.begin(), rows.end());
        snapshot.tables[table] = std::move(rows);
    }
    const auto generators = db.QueryColumn(
        "select trim(RDB$GENERATOR_NAME) from RDB$GENERATORS where RDB$SYSTEM_FLAG = 0");
    for (const std::string& generator : generators) {
        snapshot.generators[generator] =
            db.QueryColumn("select gen_id(" + generator + ", 0) from RDB$DATABASE").at(0);
    }
    return snapshot;
}

}  // namespace zav::test
