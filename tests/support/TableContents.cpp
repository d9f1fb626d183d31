#include "support/TableContents.h"

#include <algorithm>

namespace zav::test {
namespace {

constexpr int kBlobType = 261;

}  // namespace

TableContents ReadTableContents(const std::function<Rows(const std::string& sql)>& rowsOf) {
    TableContents contents;
    const Rows tables = rowsOf(
        "select trim(RDB$RELATION_NAME) from RDB$RELATIONS "
        "where RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null order by 1");
    for (const auto& table : tables) {
        const Rows columns = rowsOf(
            "select trim(rf.RDB$FIELD_NAME) from RDB$RELATION_FIELDS rf "
            "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
            "where rf.RDB$RELATION_NAME = '" +
            table.at(0) + "' and f.RDB$FIELD_TYPE <> " + std::to_string(kBlobType) +
            " order by rf.RDB$FIELD_POSITION");
        std::string selectList;
        for (const auto& column : columns) {
            selectList += (selectList.empty() ? "" : ", ") + column.at(0);
        }
        Rows rows = rowsOf("select " + selectList + " from " + table.at(0));
        std::sort(rows.begin(), rows.end());
        contents[table.at(0)] = std::move(rows);
    }
    return contents;
}

}  // namespace zav::test
