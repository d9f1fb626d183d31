// The other process of the fault tests: runs the update the way the "Update" button does, or holds
// a database file open, and reports on its standard output what happened.
//
//   zav_fault_child update DB [--tap TAP --kill-at PREFIX [--kill-count N] [--kill-after-ms MS]]
//       prints "connected", then "updated" or "error: " and the error box's text
//       With the client tap, the process kills itself with SIGKILL at the N-th statement whose
//       text begins with PREFIX: at once, or MS milliseconds after it has gone to the engine.
//   zav_fault_child hold DB
//       prints "attached" once the file is open, keeps it open until its input closes
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/ErrorBox.h"
#include "app/UpdateRun.h"
#include "db/firebird/ClientLibrary.h"
#include "db/firebird/DatenbankDM.h"
#include "support/ClientTap.h"
#include "update/TrafikUpdateDM.h"

namespace {

struct KillPlan {
    std::string prefix;
    int count = 1;
    int afterMs = 0;
    int seen = 0;
};

void KillAtStatement(const char* sql, void* context) {
    auto& plan = *static_cast<KillPlan*>(context);
    if (plan.prefix.empty() || std::string(sql).rfind(plan.prefix, 0) != 0 ||
        ++plan.seen != plan.count) {
        return;
    }
    if (plan.afterMs == 0) {
        raise(SIGKILL);
    }
    // The insert is on its way into the engine when this fires.
    std::thread([delay = plan.afterMs] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        raise(SIGKILL);
    }).detach();
}

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

struct DataModules {
    explicit DataModules(zav::ClientLibrary& library) : datenbank(library) {}
    zav::TdmDatenbank datenbank;
    zav::TdmTrafikUpdate trafikUpdate{datenbank};
};

int Update(const std::string& path, const std::optional<std::string>& tap, KillPlan& plan) {
    std::optional<zav::ClientLibrary> tapLibrary;
    if (tap) {
        tapLibrary.emplace(std::vector{*tap});
    }
    DataModules modules(tapLibrary ? *tapLibrary : zav::ClientLibrary::System());
    if (tap) {
        zav::tap::Control::Of(*tap).setExecuteHook(KillAtStatement, &plan);
    }
    zav::RunUpdate(modules.datenbank, modules.trafikUpdate, path, [] {
        Say("connected");
        return true;
    });
    Say("updated");
    return 0;
}

int Hold(const std::string& path) {
    zav::TdmDatenbank datenbank;
    datenbank.Connect(path);
    datenbank.GetJahr();
    Say("attached");
    std::string ignored;
    while (std::getline(std::cin, ignored)) {
    }
    datenbank.Disconnect();
    Say("released");
    return 0;
}

int Run(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: zav_fault_child update|hold DB [options]" << std::endl;
        return 2;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    std::optional<std::string> tap;
    KillPlan plan;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--tap") {
            tap = argv[i + 1];
        } else if (option == "--kill-at") {
            plan.prefix = argv[i + 1];
        } else if (option == "--kill-count") {
            plan.count = std::stoi(argv[i + 1]);
        } else if (option == "--kill-after-ms") {
            plan.afterMs = std::stoi(argv[i + 1]);
        }
    }
    if (mode == "update") {
        return Update(path, tap, plan);
    }
    if (mode == "hold") {
        return Hold(path);
    }
    std::cerr << "unknown mode " << mode << std::endl;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        Say("error: " + zav::ErrorBoxText(error.what()));
        return 1;
    }
}
