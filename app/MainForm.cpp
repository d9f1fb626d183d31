#include "app/MainForm.h"

#include <cctype>
#include <string_view>
#include <utility>

#include "app/ErrorBox.h"
#include "app/FolderListing.h"
#include "app/PathRules.h"
#include "app/UpdateRun.h"
#include "db/firebird/DatenbankDM.h"
#include "platform/Errors.h"
#include "update/TrafikUpdateDM.h"

namespace zav {
namespace {

constexpr const char* kInstallKey = "SOFTWARE\\Vorlix-Software\\ZAV";
constexpr const char* kInstallValue = "InstallPath";
constexpr int kAccountingYear = 2020;

constexpr const char* kNoDataModules =
    "Die Datenbankanbindung konnte beim Start nicht eingerichtet werden. Bitte prüfen Sie die "
    "Firebird-Installation und starten Sie das Programm neu.";
constexpr const char* kConfirmTrafik =
    "TRAFIK Update! Änderungen können nicht wieder rückgängig gemacht werden.\r\n\r\n"
    "Update starten? ";

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The extension test ignores letter case; the extension is plain ASCII.
bool HasAccountingExtension(std::string_view path) {
    constexpr std::string_view kExtension = ".zqd";
    if (path.size() < kExtension.size()) {
        return false;
    }
    const std::string_view tail = path.substr(path.size() - kExtension.size());
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != kExtension[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

TForm1::TForm1(IMainView& view, ISettingsStore& settings, IFileSystem& files,
               ClientLibrary& clientLibrary)
    : view_(view), settings_(settings), files_(files), clientLibrary_(clientLibrary) {}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    dmDatenbank = std::make_unique<TdmDatenbank>(clientLibrary_);
    dmTrafikUpdate = std::make_unique<TdmTrafikUpdate>(*dmDatenbank);
    const char separator = files_.Separator();
    const std::string folder = GetCurrentInstallPath() + separator + "Daten" + separator;
    view_.SetDatabasePath(FindDefaultDbFile2020(folder));
}

void TForm1::btnUpdateClick() {
    if (!dmDatenbank || !dmTrafikUpdate) {
        throw ZavError(kNoDataModules);
    }
    // The path is read afresh for each step, exactly as typed.
    if (!files_.FileExists(view_.DatabasePath())) {
        throw UserInputError("Ungültiger Dateiname.");
    }
    if (!HasAccountingExtension(view_.DatabasePath())) {
        throw UserInputError("Die ausgewählte Datei ist keine Buchhaltungsdatei.");
    }
    // The client library takes no extended-length prefix; POSIX paths pass as they are.
    const std::string path = PathStyleOf(files_.Separator()) == PathStyle::Windows
                                 ? PathForDatabaseClient(view_.DatabasePath())
                                 : view_.DatabasePath();
    RunUpdate(
        *dmDatenbank, *dmTrafikUpdate, path, [this] { return ConfirmUpdate(); },
        [this](bool updated) { ReportUpdate(updated); });
}

bool TForm1::ConfirmUpdate() {
    if (view_.CheckJahrChecked()) {
        const int jahr = dmDatenbank->GetJahr();
        if (jahr != kAccountingYear) {
            throw UserInputError("Die Buchhaltung hat falsches Jahr. Jahr=" + std::to_string(jahr));
        }
    }
    if (!view_.TrafikSelected() && !view_.GastroSelected()) {
        view_.ShowMessage("Es wurde keine Auswahl getroffen.", DialogKind::Warning);
        return false;
    }
    if (view_.TrafikSelected() &&
        view_.ShowMessage(kConfirmTrafik, DialogKind::Confirmation) == kResultYes) {
        // Closing now would end the program before the operator learns whether the update was
        // saved.
        updateResultPending_ = true;
        return true;
    }
    return false;
}

void TForm1::ReportUpdate(bool updated) {
    if (updated) {
        view_.ShowMessage("Trafik Update erfolgreich abgeschlossen", DialogKind::Information);
    }
    if (view_.GastroSelected()) {
        view_.ShowMessage("Noch nicht implementiert.", DialogKind::Warning);
    }
}

void TForm1::btnBrowseClick() {
    const PathStyle style = PathStyleOf(files_.Separator());
    std::string text = view_.DatabasePath();
    if (style == PathStyle::Windows) {
        if (BeginsWithExistingDrive(text, files_.DriveLetters())) {
            text = WindowsFolderPart(text);
        }
    } else if (!text.empty() && text.front() == '/') {
        // An absolute POSIX path stands where a path on an existing drive stands on Windows.
        text = PosixFolderPart(text);
    }
    if (const auto chosen = view_.ExecuteOpenDialog(InitialFolder(text, style))) {
        view_.SetDatabasePath(*chosen);
    }
}

void TForm1::btnCloseClick() {
    view_.CloseWindow();
}

bool TForm1::RunHandler(void (TForm1::*handler)(),
                        const std::function<void(const std::string& text)>& showErrorBox) {
    const bool ended = RunEventHandler([this, handler] { (this->*handler)(); }, showErrorBox);
    // The update's result, or the error that ended it, has been shown.
    updateResultPending_ = false;
    if (std::exchange(closeHeld_, false)) {
        view_.CloseWindow();
    }
    return ended;
}

bool TForm1::FormCloseQuery() {
    if (updateResultPending_) {
        closeHeld_ = true;
        return false;
    }
    return true;
}

std::string TForm1::GetCurrentInstallPath() {
    const std::unique_ptr<ISettingsKey> key = settings_.OpenKey(kInstallKey);
    if (!key) {
        return {};
    }
    const std::optional<SettingsValueInfo> info = key->QueryValue(kInstallValue);
    if (!info || info->dataSize == 0) {
        return {};
    }
    if (info->type != SettingsValueType::String && info->type != SettingsValueType::ExpandString) {
        throw PlatformError(std::string("Ungültiger Datentyp für '") + kInstallValue + "'");
    }
    std::optional<std::string> text = key->ReadString(kInstallValue);
    if (!text) {
        throw PlatformError(std::string("Fehler beim Holen der Daten für '") + kInstallValue + "'");
    }
    return *text;
}

std::string TForm1::FindDefaultDbFile2020(const std::string& aPath) {
    int count = 0;
    std::string last;
    for (const std::string& entry : ListFolderFiles(files_, aPath)) {
        if (EndsWith(entry, "2020.zqd")) {
            ++count;
            last = entry;
        }
    }
    return count == 1 ? last : aPath;
}

}  // namespace zav
