#include "support/RunLikeTheButton.h"

#include <gtest/gtest.h>

#include <optional>

#include "app/ErrorBox.h"
#include "app/UpdateRun.h"
#include "db/firebird/DatenbankDM.h"
#include "update/TrafikUpdateDM.h"

namespace zav::test {

std::string RunUpdateLikeTheButton(const std::string& databaseName, ClientLibrary& library,
                                   const std::function<void()>& onSuccess) {
    std::optional<TdmDatenbank> datenbank;  // made inside, as its errors go to the error box too
    std::string errorBox;
    RunEventHandler(
        [&] {
            datenbank.emplace(library);
            TdmTrafikUpdate trafikUpdate(*datenbank);
            RunUpdate(*datenbank, trafikUpdate, databaseName, {}, [&](bool updated) {
                if (updated && onSuccess) {
                    onSuccess();
                }
            });
        },
        [&](const std::string& text) { errorBox = text; });
    EXPECT_FALSE(datenbank && datenbank->dbMain.Connected()) << "connection left open";
    return errorBox;
}

}  // namespace zav::test
