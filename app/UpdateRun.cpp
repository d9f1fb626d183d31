#include "app/UpdateRun.h"

#include "db/firebird/DatenbankDM.h"
#include "db/firebird/RunBound.h"
#include "update/TrafikUpdateDM.h"

namespace zav {

void RunUpdate(TdmDatenbank& datenbank, TdmTrafikUpdate& trafikUpdate, const std::string& path,
               const std::function<bool()>& decide,
               const std::function<void(bool updated)>& finish) {
    // Every step below, the detach after the success box included, is a client call it watches.
    const RunBound bound(datenbank.dbMain);
    datenbank.Connect(path);
    try {
        const bool update = !decide || decide();
        if (update) {
            datenbank.UpdateSteuersatz();
            trafikUpdate.Update();
        }
        if (finish) {
            finish(update);
        }
    } catch (...) {
        datenbank.Disconnect();
        throw;
    }
    datenbank.Disconnect();
}

}  // namespace zav
