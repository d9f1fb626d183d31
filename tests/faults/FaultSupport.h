#pragma once

#include <string>

#include "support/Attachment.h"

namespace zav::test {

// Holds the engine for seconds inside the insert of a group's second July row (the update's 20th
// monthly row in a database of three business units), long enough to make something fail there.
// The trigger is MONAT_ERLOS_LANGSAM.
extern const char* const kSlowSecondJulyRowTrigger;

// Another program on the same database, such as the accounting application while its user edits a
// record: it changes rows and holds the change, uncommitted, until Release() or its end.
class OtherProgram {
public:
    explicit OtherProgram(const std::string& databaseName) : attachment_(databaseName) {}
    ~OtherProgram() { attachment_.Rollback(); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void Hold(const std::string& sql) { attachment_.ExecuteUncommitted(sql); }
    // Rolls the held change back.
    void Release() { attachment_.Rollback(); }
    // Commits the held change.
    void Save() { attachment_.Commit(); }

private:
    Attachment attachment_;
};

}  // namespace zav::test
