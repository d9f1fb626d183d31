#pragma once

#include <optional>
#include <string>

namespace zav {

// The three message dialogs of the window; each implies its title, icon and buttons.
enum class DialogKind {
    Confirmation,  // "Bestätigen", question mark, "&Ja" (6) and "&Nein" (7), Ja is the default
    Information,   // "Informationen", information icon, "OK" (1)
    Warning,       // "Warnung", exclamation mark, "OK" (1)
};

constexpr int kResultOk = 1;
constexpr int kResultCancel = 2;
constexpr int kResultYes = 6;
constexpr int kResultNo = 7;

// What the handlers of the main window read from and ask of the window. Each front end implements
// it over its own controls; the handlers hold every decision.
class IMainView {
public:
    virtual ~IMainView() = default;

    virtual std::string DatabasePath() const = 0;
    virtual void SetDatabasePath(const std::string& path) = 0;
    virtual bool CheckJahrChecked() const = 0;
    virtual bool TrafikSelected() const = 0;
    virtual bool GastroSelected() const = 0;

    // Modal message dialog; gives the result of the pressed button (Escape or the close box give
    // a result other than kResultYes).
    virtual int ShowMessage(const std::string& text, DialogKind kind) = 0;
    // The file-open dialog starting in initialFolder (empty: where the system chooses); the chosen
    // file's full path, or nothing on cancel.
    virtual std::optional<std::string> ExecuteOpenDialog(const std::string& initialFolder) = 0;
    // Closes the main window, which ends the program.
    virtual void CloseWindow() = 0;
};

}  // namespace zav
