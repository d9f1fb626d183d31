#pragma once

#include <functional>
#include <string>

#include "db/firebird/ClientLibrary.h"

namespace zav::test {

// Runs the update the way the "Update" button does once the user has confirmed: connect, the
// 5 % rate, the Trafik update, disconnect on every way out, through the client library given.
// Gives the error box's text, or "" when the update went through; a connection left open fails
// the calling test. onSuccess runs where the success box shows, before the disconnect.
std::string RunUpdateLikeTheButton(const std::string& databaseName,
                                   ClientLibrary& library = ClientLibrary::System(),
                                   const std::function<void()>& onSuccess = {});

}  // namespace zav::test
