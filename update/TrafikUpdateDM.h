#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "db/firebird/DbQuery.h"
#include "db/firebird/DbStatement.h"

namespace zav {

class TdmDatenbank;

// The Trafik part of the one-time update: the 5 % newspaper revenue group with its monthly rows,
// then the 5 % newspaper article. Works on the connection and transaction of dmDatenbank.
class TdmTrafikUpdate {
public:
    explicit TdmTrafikUpdate(TdmDatenbank& dmDatenbank);
    TdmTrafikUpdate(const TdmTrafikUpdate&) = delete;
    TdmTrafikUpdate& operator=(const TdmTrafikUpdate&) = delete;

    // Runs both steps in one transaction and commits it before it returns, so success is never
    // reported for unsaved work, nor for groups whose positions another program made ambiguous
    // meanwhile. When a step, that check or the commit fails, everything the update wrote is
    // rolled back before the error goes on to the caller.
    void Update();

    TDbQuery dqQuery;
    TDbStatement sqlScript;

private:
    // Whether it added the group and renumbered the groups.
    bool UpdateHgrArtikel();
    void UpdateArtikel();
    // Raises, for the rollback, unless the groups' positions are 1..n, each once.
    void CheckPositions();

    // Closes dqQuery, gives it the text and opens it.
    void OpenQuery(const std::string& sql);
    void Execute(const std::string& sql);
    // The column of the first row of the select, or nothing when it has no row.
    std::optional<int32_t> FirstId(const std::string& sql, const std::string& column);
    int32_t NextGeneratorValue(const std::string& generator);
    std::string NewspaperGroupSql(int32_t steuersatzId) const;

    TdmDatenbank& dmDatenbank_;
};

}  // namespace zav
