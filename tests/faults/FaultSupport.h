#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/firebird/ClientLibrary.h"
#include "support/TableContents.h"

namespace zav::test {

// Holds the engine for seconds inside the insert of a group's second July row (the update's 20th
// monthly row in a database of three business units), long enough to make something fail there.
// The trigger is MONAT_ERLOS_LANGSAM.
extern const char* const kSlowSecondJulyRowTrigger;

// Runs the update the way the "Update" button does once the user has confirmed: connect, the
// 5 % rate, the Trafik update, disconnect on every way out, through the client library given.
// Gives the error box's text, or "" when the update went through. onSuccess runs where the
// success box shows, before the disconnect.
std::string RunUpdateLikeTheButton(const std::string& databaseName,
                                   ClientLibrary& library = ClientLibrary::System(),
                                   const std::function<void()>& onSuccess = {});

// Runs one statement in a transaction of its own and commits it; the database name may name a
// file or reach it through a server.
void ExecuteOn(const std::string& databaseName, const std::string& sql);

// The rows of every user table (blob columns left out), each sorted, read through the layer on a
// fresh attachment; the database name may name a file or reach it through a server.
TableContents ReadTables(const std::string& databaseName);

// How many attachments besides the caller's own the database has (the engine's own not counted):
// what a run of the tool left alive.
int OtherAttachments(const std::string& databaseName);

// Another program on the same database, such as the accounting application while its user edits a
// record: it changes rows and holds the change, uncommitted, until Release() or its end.
class OtherProgram {
public:
    explicit OtherProgram(const std::string& databaseName);
    ~OtherProgram();
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void Hold(const std::string& sql);
    // Rolls the held change back.
    void Release();
    // Commits the held change.
    void Save();

private:
    struct Components;
    std::unique_ptr<Components> components_;
};

// Empty when after holds what before held, give or take the 5 % rate (which a failed run keeps:
// it is committed before the update proper begins); otherwise what differs, for the test's message.
std::string DifferenceApartFromTheReducedRate(const TableContents& before,
                                              const TableContents& after);

}  // namespace zav::test
