#include "support/TableContents.h"

#include <algorithm>
#include <iterator>

namespace zav::test {
namespace {

constexpr int kBlobType = 261;

}  // namespace

TableContents ReadTables(const std::string& databaseName, const std::set<std::string>& leaveOut) {
    Attachment reader(databaseName);
    TableContents contents;
    const Rows tables = reader.Select(
        "select trim(RDB$RELATION_NAME) from RDB$RELATIONS "
        "where RDB$SYSTEM_FLAG = 0 and RDB$VIEW_BLR is null order by 1");
    for (const auto& table : tables) {
        const std::string& name = table.at(0);
        if (leaveOut.contains(name)) {
            continue;
        }
        const Rows columns = reader.Select(
            "select trim(rf.RDB$FIELD_NAME) from RDB$RELATION_FIELDS rf "
            "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
            "where rf.RDB$RELATION_NAME = '" +
            name + "' and f.RDB$FIELD_TYPE <> " + std::to_string(kBlobType) +
            " order by rf.RDB$FIELD_POSITION");
        std::string selectList;
        for (const auto& column : columns) {
            selectList += (selectList.empty() ? "" : ", ") + column.at(0);
        }
        Rows rows = reader.Select("select " + selectList + " from " + name);
        std::sort(rows.begin(), rows.end());
        contents[name] = std::move(rows);
    }
    if (!leaveOut.contains(kGenerators)) {
        Rows& generators = contents[kGenerators];
        for (const auto& generator : reader.Select(
                 "select trim(RDB$GENERATOR_NAME) from RDB$GENERATORS where RDB$SYSTEM_FLAG = 0")) {
            const std::string& name = generator.at(0);
            generators.push_back(
                {name, reader.Select("select gen_id(" + name + ", 0) from RDB$DATABASE").at(0).at(0)});
        }
        std::sort(generators.begin(), generators.end());
    }
    return contents;
}

std::string DifferenceApartFromTheReducedRate(const TableContents& before,
                                              const TableContents& after) {
    std::string difference;
    for (const auto& [table, rows] : after) {
        const auto old = before.find(table);
        if (old == before.end()) {
            difference += "new table " + table + "; ";
            continue;
        }
        if (rows == old->second || table == kGenerators) {
            continue;
        }
        if (table == "STEUERSATZ" && rows.size() == old->second.size() + 1) {
            Rows added;
            std::set_difference(rows.begin(), rows.end(), old->second.begin(), old->second.end(),
                                std::back_inserter(added));
            // STEUERSATZID, PROZENT, INFO, ...
            if (added.size() == 1 && added[0].at(1) == "5" &&
                added[0].at(2) == "Corona Sondersteuersatz") {
                continue;
            }
        }
        difference += table + " changed (" + std::to_string(old->second.size()) + " rows, now " +
                      std::to_string(rows.size()) + "); ";
    }
    if (before.size() != after.size()) {
        difference += "a table went missing; ";
    }
    return difference;
}

}  // namespace zav::test
