#include "db/firebird/DatenbankDM.h"

#include "db/firebird/DatabaseErrors.h"

namespace zav {
namespace {

// Long enough for a short save in another program, short enough that the window does not seem to
// hang when the accounting application holds a revenue group that its user is editing.
// Below the bound of a call (RunBound), so that such a wait ends with the lock advice.
constexpr int kLockTimeoutSeconds = 10;

// The engine's own text speaks of privileges; the user needs to hear which file and what is
// missing.
std::string AccessDeniedText(DatabaseFileAccessError::Denial denial, const std::string& path) {
    if (denial == DatabaseFileAccessError::Denial::ReadOnly) {
        return "Keine Schreibberechtigung für die Buchhaltungsdatei '" + path +
               "': Sie kann gelesen, aber nicht geändert werden.";
    }
    return "Kein Zugriff auf die Buchhaltungsdatei '" + path +
           "': Die Rechte der Datei oder ihres Ordners erlauben das Öffnen nicht.";
}

// The client's own text would speak of a missing file or a bad parameter, in English.
std::string UnusableNameText(const std::string& path) {
    return "Die Buchhaltungsdatei '" + path +
           "' kann nicht geöffnet werden: Ihr Pfad enthält Zeichen, die der Datenbank-Client "
           "dieser Installation nicht verwenden kann. Bitte verwenden Sie einen Ordner und einen "
           "Dateinamen ohne solche Zeichen (zum Beispiel ohne Akzente und fremde Schriftzeichen).";
}

}  // namespace

TdmDatenbank::TdmDatenbank(ClientLibrary& library)
    : dbMain(library), trMain(dbMain), sqlMain(dbMain, trMain), dqQuery("dqQuery", dbMain, trMain) {
    dbMain.Params() = {"user_name=sysdba", "password=quillbarn"};
    trMain.SetAllowAutoStart(true);
    trMain.SetAutoStopAction(TransactionAction::Commit);
    trMain.SetDefaultAction(TransactionAction::Commit);
    trMain.SetLockTimeoutSeconds(kLockTimeoutSeconds);
    // A server that does not answer would hold the attach for minutes.
    dbMain.SetConnectTimeoutSeconds(kLockTimeoutSeconds);
    // A snapshot passes over another program's unsaved 5 % rate or group and the run would add a
    // second one; a read that waits for it ends with the lock advice instead.
    trMain.SetReadsWaitForUnsavedRows(true);
}

void TdmDatenbank::Connect(const std::string& aDbFilePath) {
    Disconnect();
    dbMain.SetDatabaseName(aDbFilePath);
    try {
        dbMain.Open();
    } catch (const DatabaseFileAccessError& error) {
        throw DatabaseFileAccessError(AccessDeniedText(error.GetDenial(), aDbFilePath),
                                      error.SqlCode(), error.EngineCode(), error.GetDenial());
    } catch (const ClientFileNameError& error) {
        throw ClientFileNameError(UnusableNameText(aDbFilePath), error.SqlCode(),
                                  error.EngineCode());
    }
}

void TdmDatenbank::Disconnect() {
    dbMain.Close();
}

std::int32_t TdmDatenbank::GetJahr() {
    dqQuery.Close();
    dqQuery.SetSQL("select * from EINSTELLUNGEN where NAMEID = 'Datum.AnfangsJahr'");
    dqQuery.Open();
    return dqQuery.FieldByName("WERT").AsInteger();
}

std::int32_t TdmDatenbank::GetSteuersatzId(std::int32_t aProzent) {
    dqQuery.Close();
    dqQuery.SetSQL("select * from STEUERSATZ where PROZENT = " + std::to_string(aProzent));
    dqQuery.Open();
    if (dqQuery.Eof()) {
        throw DatabaseError("Steuersatz mit " + std::to_string(aProzent) +
                            "% wurde nicht gefunden.");
    }
    return dqQuery.FieldByName("STEUERSATZID").AsInteger();
}

void TdmDatenbank::UpdateSteuersatz() {
    dqQuery.Close();
    dqQuery.SetSQL("select * from STEUERSATZ where PROZENT = 5");
    dqQuery.Open();
    if (dqQuery.Eof()) {
        sqlMain.SetSQL(
            "insert into STEUERSATZ (PROZENT, INFO) values (5, 'Corona Sondersteuersatz')");
        sqlMain.ExecQuery();
    }
}

}  // namespace zav
