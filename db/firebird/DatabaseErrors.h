#pragma once

#include "platform/Errors.h"

namespace zav {

// Refusals of the database layer itself and errors reported by the client library. The client's
// errors also carry its SQL code and the first engine code of the status vector.
class DatabaseError : public ZavError {
public:
    explicit DatabaseError(const std::string& message, long sqlCode = 0, long engineCode = 0)
        : ZavError(message), sqlCode_(sqlCode), engineCode_(engineCode) {}
    long SqlCode() const { return sqlCode_; }
    long EngineCode() const { return engineCode_; }

private:
    long sqlCode_;
    long engineCode_;
};

// The database file could not be opened for writing by the user the program runs as: it may be
// read but not written (ReadOnly), or not opened at all (NoAccess).
class DatabaseFileAccessError : public DatabaseError {
public:
    enum class Denial { ReadOnly, NoAccess };

    DatabaseFileAccessError(const std::string& message, long sqlCode, long engineCode,
                            Denial denial)
        : DatabaseError(message, sqlCode, engineCode), denial_(denial) {}
    Denial GetDenial() const { return denial_; }

private:
    Denial denial_;
};

// The client library could not be loaded.
class ClientLibraryError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// The client library could not take the database file's name: the ANSI code page cannot hold it,
// and in UTF-8 the client refused it or looked for another file.
class ClientFileNameError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// A write met rows that another program holds or changed meanwhile: the wait for them ran out.
class LockConflictError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// The connection broke off while a commit was on its way: whether the server saved the work is not
// known. Nothing may be reported as undone.
class CommitOutcomeUnknownError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

}  // namespace zav
