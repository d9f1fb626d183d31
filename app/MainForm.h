#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/MainView.h"
#include "db/firebird/ClientLibrary.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"

namespace zav {

class TdmDatenbank;
class TdmTrafikUpdate;

// The main window's handlers and the discovery of the accounting file. The window itself is the
// front end's; it forwards its events here and shows what these handlers ask of IMainView. What
// the handlers need lives in the window's controls, so the form keeps only its two data modules.
class TForm1 {
public:
    // The data modules call the client library given, the system's unless a test gives another.
    TForm1(IMainView& view, ISettingsStore& settings, IFileSystem& files,
           ClientLibrary& clientLibrary = ClientLibrary::System());
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Creates the data modules, then puts the default accounting file (or the data folder) into
    // the path box. An error leaves what was created so far and the path box as it was.
    void FormCreate();
    // Tests the path, connects, checks the year, asks, updates and reports; the connection is
    // closed again on every way out once it was opened.
    void btnUpdateClick();
    // Lets the user choose an accounting file in the file-open dialog.
    void btnBrowseClick();
    void btnCloseClick();

    // Runs one of the handlers above the way the event loop does: an error that escapes it is
    // shown through showErrorBox, then a close request held meanwhile is honoured. Gives true
    // when the handler ran to its end.
    bool RunHandler(void (TForm1::*handler)(),
                    const std::function<void(const std::string& text)>& showErrorBox);

    // Asked before the window closes (its close box, the task bar, the end of the session): true
    // when it may close now. From the "Ja" to the question until the update's result has been
    // shown, the request is held and false given; RunHandler honours it once the handler ended.
    bool FormCloseQuery();

    // The install path from the settings store, or "" when the key or the value is missing.
    std::string GetCurrentInstallPath();
    // The one file in the folder aPath whose path ends in "2020.zqd", or aPath when there is not
    // exactly one.
    std::string FindDefaultDbFile2020(const std::string& aPath);

    // The data modules; null until FormCreate has created them.
    TdmDatenbank* Datenbank() const { return dmDatenbank.get(); }
    TdmTrafikUpdate* TrafikUpdate() const { return dmTrafikUpdate.get(); }

private:
    // The steps of btnUpdateClick on the open connection: the year check and the question before
    // the update, the messages after it.
    bool ConfirmUpdate();
    void ReportUpdate(bool updated);

    IMainView& view_;
    ISettingsStore& settings_;
    IFileSystem& files_;
    ClientLibrary& clientLibrary_;
    // The update has begun and its result has not yet been shown.
    bool updateResultPending_ = false;
    bool closeHeld_ = false;
    // dmTrafikUpdate works on dmDatenbank's connection, so it is created after it and, declared
    // after it, destroyed before it.
    std::unique_ptr<TdmDatenbank> dmDatenbank;
    std::unique_ptr<TdmTrafikUpdate> dmTrafikUpdate;
};

}  // namespace zav
