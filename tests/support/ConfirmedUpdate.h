#pragma once

#include <functional>
#include <string>

#include "db/firebird/DatenbankDM.h"
#include "update/TrafikUpdateDM.h"

namespace zav::test {

// What the "Update" button does once the user has confirmed: connects, makes sure of the 5 % rate,
// updates and disconnects on every way out. An error of the disconnect takes the place of the one
// on its way, as there. `connected` runs right after the attach.
inline void RunConfirmedUpdate(TdmDatenbank& datenbank, TdmTrafikUpdate& trafikUpdate,
                               const std::string& path,
                               const std::function<void()>& connected = {}) {
    datenbank.Connect(path);
    try {
        if (connected) {
            connected();
        }
        datenbank.UpdateSteuersatz();
        trafikUpdate.Update();
    } catch (...) {
        datenbank.Disconnect();
        throw;
    }
    datenbank.Disconnect();
}

}  // namespace zav::test
