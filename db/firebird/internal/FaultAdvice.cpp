#include "db/firebird/internal/FaultAdvice.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "db/firebird/internal/StatusVector.h"

namespace zav {
namespace {

struct Advice {
    Fault fault;
    std::array<long, 4> codes;  // the engine codes that show the fault, 0 for none
    const char* lead;
    const char* embeddedLead = nullptr;  // on the embedded engine, where it differs
};

// Searched in this order: the first row with a code in the status wins. Rows without codes are
// told by the situation (the run's bound, a commit, the system's error) rather than by a code.
const Advice kAdvice[] = {
    {Fault::LockConflict,
     // A lock time-out is reported as a deadlock too.
     {isc_deadlock, isc_lock_conflict, isc_update_conflict, isc_lock_timeout},
     "Ein anderes Programm bearbeitet gerade dieselben Daten, zum Beispiel die Buchhaltung. Bitte "
     "schließen Sie die Buchhaltung oder beenden Sie dort die laufende Bearbeitung und starten Sie "
     "das Update danach erneut.",
     "Die Datenbank hat gesperrte Daten nicht in der vorgesehenen Zeit freigegeben. Das Update "
     "wurde abgebrochen; was noch nicht gespeichert war, ist verworfen. Bitte starten Sie das "
     "Update erneut."},
    {Fault::TimedOut,
     {},
     "Der Datenbankserver hat einen Schritt des Updates nicht in der vorgesehenen Zeit "
     "beantwortet; das Update wurde abgebrochen, und was noch nicht gespeichert war, ist "
     "verworfen. Bitte prüfen Sie den Server und das Netzwerk und starten Sie das Update danach "
     "erneut.",
     "Die Datenbank hat einen Schritt des Updates nicht in der vorgesehenen Zeit ausgeführt; das "
     "Update wurde abgebrochen, und was noch nicht gespeichert war, ist verworfen. Bitte starten "
     "Sie das Update erneut."},
    {Fault::ServerNotAnswering,
     {},
     "Der Datenbankserver antwortet nicht. Das Update wurde abgebrochen und die Verbindung "
     "getrennt; was noch nicht gespeichert war, ist verworfen. Bitte prüfen Sie den Server und "
     "das Netzwerk und starten Sie das Update danach erneut.",
     "Die Datenbank antwortet nicht. Das Update wurde abgebrochen und die Verbindung getrennt; was "
     "noch nicht gespeichert war, ist verworfen. Bitte starten Sie das Update erneut."},
    {Fault::DetachUnanswered,
     {},
     "Der Datenbankserver hat das Trennen der Verbindung nicht beantwortet; die Verbindung wurde "
     "abgebrochen. Was bis dahin gespeichert war, bleibt gespeichert. Bitte prüfen Sie den Server "
     "und das Netzwerk.",
     "Die Datenbank hat das Schließen der Buchhaltungsdatei nicht beantwortet; die Verbindung "
     "wurde abgebrochen. Was bis dahin gespeichert war, bleibt gespeichert."},
    {Fault::CommitOutcomeUnknown,
     {},
     "Die Verbindung zum Datenbankserver ist beim Speichern abgebrochen. Ob das Update gespeichert "
     "wurde, ist nicht bekannt. Bitte starten Sie es erneut, sobald der Server wieder erreichbar "
     "ist: Ein zweiter Lauf ergänzt nur, was noch fehlt."},
    {Fault::ServerShutDown,
     {isc_att_shutdown, isc_shutdown},
     "Der Datenbankserver wurde beendet oder hat die Verbindung getrennt; was noch nicht "
     "gespeichert war, ist verworfen. Bitte starten Sie das Update erneut, sobald der Server "
     "wieder läuft."},
    {Fault::ConnectionLost,
     {isc_net_read_err, isc_net_write_err, isc_lost_db_connection},
     "Die Verbindung zum Datenbankserver ist abgebrochen; was noch nicht gespeichert war, ist "
     "verworfen. Bitte starten Sie das Update erneut, sobald der Server wieder erreichbar ist."},
    {Fault::ConnectionRejected,
     {isc_connect_reject},
     "Der Datenbankserver antwortet nicht oder hat die Verbindung abgelehnt. Bitte prüfen Sie den "
     "Server und starten Sie das Update danach erneut."},
    {Fault::DiskFull,
     {},
     "Auf dem Laufwerk der Buchhaltungsdatei ist kein Platz mehr frei. Bitte schaffen Sie Platz "
     "und starten Sie das Update danach erneut."},
    {Fault::ReadOnlyDatabase,
     {isc_read_only_database},
     "Die Buchhaltungsdatei ist als schreibgeschützte Datenbank eingestellt und kann nicht "
     "geändert werden."},
    {Fault::DuplicateKey,
     {isc_unique_key_violation, isc_no_dup},
     "Ein Datensatz mit derselben Nummer ist bereits vorhanden, vermutlich gerade von einem "
     "anderen Programm angelegt. Bitte starten Sie das Update erneut; besteht der Fehler weiter, "
     "wenden Sie sich an den Betreuer der Buchhaltung."},
    // The client reports a login that the server refused, for a file the server holds, with the
    // embedded engine's refusal of the file: the text names both causes.
    {Fault::FileHeldElsewhere,
     {isc_already_opened},
     "Die Buchhaltungsdatei ist von einem anderen Programm geöffnet, zum Beispiel der "
     "Buchhaltung, oder deren Datenbankserver hat die Anmeldung abgelehnt. Bitte schließen Sie "
     "die Buchhaltung und starten Sie das Update danach erneut."},
    {Fault::LoginRefused,
     {isc_login},
     "Der Datenbankserver hat die Anmeldung abgelehnt: Benutzername oder Kennwort werden von "
     "dieser Installation nicht angenommen."},
};

}  // namespace

Fault FaultOfStatus(const ISC_STATUS* status) {
    constexpr long kUnixNoSpace = 28;          // ENOSPC
    constexpr long kWin32DiskFull = 112;       // ERROR_DISK_FULL
    constexpr long kWin32HandleDiskFull = 39;  // ERROR_HANDLE_DISK_FULL
    if (ReportsSystemError(status, {kUnixNoSpace}, {kWin32DiskFull, kWin32HandleDiskFull})) {
        return Fault::DiskFull;
    }
    const std::vector<long> codes = ErrorCodes(status);
    for (const Advice& advice : kAdvice) {
        for (const long code : advice.codes) {
            if (code != 0 && std::find(codes.begin(), codes.end(), code) != codes.end()) {
                return advice.fault;
            }
        }
    }
    return Fault::None;
}

Fault FaultOfFailure(const ISC_STATUS* status, ClientCall call,
                     TDbConnection::CancelReason cancelled, bool lost) {
    using CancelReason = TDbConnection::CancelReason;
    if (lost && call == ClientCall::Commit) {
        return Fault::CommitOutcomeUnknown;
    }
    const std::vector<long> codes = ErrorCodes(status);
    const bool overran = cancelled == CancelReason::CutOff ||
                         (cancelled == CancelReason::Overran &&
                          std::find(codes.begin(), codes.end(), isc_cancelled) != codes.end());
    if (overran && call == ClientCall::Detach) {
        return Fault::DetachUnanswered;
    }
    if (cancelled == CancelReason::CutOff) {
        return Fault::ServerNotAnswering;
    }
    if (overran) {
        return Fault::TimedOut;
    }
    const Fault fault = FaultOfStatus(status);
    return lost && fault == Fault::None ? Fault::ConnectionLost : fault;
}

const char* LeadSentence(Fault fault, bool throughServer) {
    for (const Advice& advice : kAdvice) {
        if (advice.fault == fault) {
            return !throughServer && advice.embeddedLead != nullptr ? advice.embeddedLead
                                                                     : advice.lead;
        }
    }
    return "";
}

void ThrowWithAdvice(Fault fault, const DatabaseError& engineError, bool throughServer) {
    if (fault == Fault::None) {
        throw engineError;
    }
    std::string text = LeadSentence(fault, throughServer);
    if (*engineError.what() != '\0') {
        text += "\r\n\r\n";
        text += engineError.what();
    }
    const long sqlCode = engineError.SqlCode();
    const long engineCode = engineError.EngineCode();
    switch (fault) {
        case Fault::LockConflict:
            throw LockConflictError(text, sqlCode, engineCode);
        case Fault::CommitOutcomeUnknown:
            throw CommitOutcomeUnknownError(text, sqlCode, engineCode);
        default:
            throw DatabaseError(text, sqlCode, engineCode);
    }
}

}  // namespace zav
