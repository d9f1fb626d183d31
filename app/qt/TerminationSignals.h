#pragma once

#include <optional>

#include "platform/posix/FdHandle.h"

class QCoreApplication;

namespace zav::qt {

// Ends the program cleanly on SIGINT and SIGTERM: every event loop ends, the handler that is
// running finishes (an open question counts as Nein, a confirmed update ends as it would, saved
// whole or rolled back) and main returns, so the destructors detach. The client library would
// otherwise take both signals and shut itself down inside the running window.
class TerminationSignals {
public:
    // Blocks both signals in this thread and in every thread started after it, Qt's and the
    // client library's: the first thing in main, before the application object.
    TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Once the application object exists: a signal, also one that came before, ends its event
    // loops with 128 + the signal's number. Outlives the application.
    void EndApplicationOnSignal(QCoreApplication& app);
    // Set once a signal has come.
    std::optional<int> ExitCode() const { return exitCode_; }

private:
    void Take();

    FdHandle signals_;
    std::optional<int> exitCode_;
};

}  // namespace zav::qt
