#pragma once

#include <functional>
#include <string>

namespace zav {

class TdmDatenbank;
class TdmTrafikUpdate;

// The update as the "Update" button runs it on the accounting file at path: connects; asks decide
// whether to update (the button checks the year and asks the operator there); makes sure of the
// 5 % rate and runs the Trafik update, which saves it; calls finish with whether it updated. The
// connection is closed again on every way out; an error of the disconnect takes the place of the
// one on its way. No client call of the run waits much longer than RunBound's bound.
void RunUpdate(TdmDatenbank& datenbank, TdmTrafikUpdate& trafikUpdate, const std::string& path,
               const std::function<bool()>& decide = {},
               const std::function<void(bool updated)>& finish = {});

}  // namespace zav
