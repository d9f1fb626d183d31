#pragma once

#include <ibase.h>

#include "db/firebird/DatabaseErrors.h"

namespace zav {

// The faults an operator meets beside a running accounting installation, each with a German lead
// sentence that goes before the engine's own text.
enum class Fault {
    None,
    LockConflict,
    TimedOut,            // the run overran its bound and was cancelled
    ServerNotAnswering,  // the run overran its bound and the server did not answer the cancel
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

// The German lead sentence of a fault; empty for None.
const char* LeadSentence(Fault fault);

// The error to raise: the lead sentence, an empty line, the engine's text; typed where callers
// tell the faults apart (LockConflictError, CommitOutcomeUnknownError).
[[noreturn]] void ThrowWithAdvice(Fault fault, const DatabaseError& engineError);

}  // namespace zav
