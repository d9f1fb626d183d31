#include "app/qt/TerminationSignals.h"

#include <signal.h>
#include <sys/signalfd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

namespace zav::qt {
namespace {

sigset_t BothSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

// Blocked, the signals wait in the descriptor for the event loop; a handler could run on any
// thread, in the middle of a client call.
int BlockIntoDescriptor() {
    const sigset_t set = BothSignals();
    const int descriptor = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (descriptor >= 0) {
        pthread_sigmask(SIG_BLOCK, &set, nullptr);
    }
    return descriptor;
}

}  // namespace

TerminationSignals::TerminationSignals() : signals_(BlockIntoDescriptor()) {}

void TerminationSignals::EndApplicationOnSignal(QCoreApplication& app) {
    if (!signals_.Valid()) {
        return;
    }
    // Owned by the application, so it goes before the descriptor is closed.
    auto* notifier = new QSocketNotifier(signals_.Get(), QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, [this] { Take(); });
}

void TerminationSignals::Take() {
    signalfd_siginfo info{};
    if (read(signals_.Get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info)) {
        return;
    }
    exitCode_ = 128 + static_cast<int>(info.ssi_signo);
    QCoreApplication::exit(*exitCode_);
}

}  // namespace zav::qt
