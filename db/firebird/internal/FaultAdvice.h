#pragma once

#include <ibase.h>

#include "db/firebird/DatabaseErrors.h"
#include "db/firebird/DbConnection.h"
#include "db/firebird/internal/StatusVector.h"

namespace zav {

// The faults an operator meets beside a running accounting installation, each with a German lead
// sentence that goes before the engine's own text.
enum class Fault {
    None,
    LockConflict,
    TimedOut,            // a call overran its bound and was cancelled
    ServerNotAnswering,  // a call overran its bound and the server did not answer the cancel
    DetachUnanswered,    // the detach overran its bound: what was saved stays saved
    CommitOutcomeUnknown,
    ConnectionLost,
    ConnectionRejected,  // no connection: the server did not answer the attach, or refused it
    ServerShutDown,
    ReadOnlyDatabase,
    DiskFull,
    DuplicateKey,
    FileHeldElsewhere,
    LoginRefused,
};

// The fault that the codes of a status show, by the one table of engine codes; None for the rest.
Fault FaultOfStatus(const ISC_STATUS* status);

// The fault of a failed client call: by its situation (cancelled for overrunning its bound, the
// connection lost, a commit), else by its codes.
Fault FaultOfFailure(const ISC_STATUS* status, ClientCall call,
                     TDbConnection::CancelReason cancelled, bool lost);

// The German lead sentence of a fault; empty for None. On the embedded engine (not through a
// server) no other program can hold the file, and no sentence speaks of one or of a server.
const char* LeadSentence(Fault fault, bool throughServer = true);

// The error to raise: the lead sentence, an empty line, the engine's text; typed where callers
// tell the faults apart (LockConflictError, CommitOutcomeUnknownError).
[[noreturn]] void ThrowWithAdvice(Fault fault, const DatabaseError& engineError,
                                  bool throughServer = true);

}  // namespace zav
