// ZavCoronaUpdate: the program's entry point on Windows.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/ErrorBox.h"
#include "app/MainForm.h"
#include "app/win32/MainWindow.h"
#include "app/win32/MessageDialogs.h"
#include "platform/FileSystem.h"
#include "platform/SettingsStore.h"
#include "platform/win32/WinText.h"

namespace {

std::string ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return zav::win32::ToUtf8(path);
        }
        path.resize(path.size() * 2);
    }
}

// Dispatches until the main window has closed. Keyboard navigation between the controls (Tab,
// arrow keys, access keys) is the dialog manager's.
void RunMessageLoop(HWND mainWindow) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    const std::string title = zav::ApplicationTitle(
        ExecutablePath(), [](const std::string& text) { return zav::win32::ToLowerCase(text); });
    std::unique_ptr<zav::win32::MainWindow> window;
    const auto showErrorBox = [&title, &window](const std::string& text) {
        zav::win32::ShowErrorBox(window ? window->Handle() : nullptr, text, title);
    };

    std::unique_ptr<zav::ISettingsStore> settings;
    std::unique_ptr<zav::IFileSystem> fileSystem;
    std::unique_ptr<zav::TForm1> form;
    const bool created = zav::RunEventHandler(
        [&] {
            settings = zav::CreatePlatformSettingsStore();
            fileSystem = zav::CreatePlatformFileSystem();
            window = std::make_unique<zav::win32::MainWindow>(instance, showErrorBox);
            form = std::make_unique<zav::TForm1>(*window, *settings, *fileSystem);
        },
        showErrorBox);
    if (!created) {
        return 1;
    }
    const auto run = [&form, &showErrorBox](void (zav::TForm1::*handler)()) {
        return [&form, &showErrorBox, handler] { form->RunHandler(handler, showErrorBox); };
    };
    window->SetEvents({run(&zav::TForm1::btnBrowseClick), run(&zav::TForm1::btnUpdateClick),
                       run(&zav::TForm1::btnCloseClick),
                       [&form] { return form->FormCloseQuery(); }});

    // An error while the window is being created is shown before it opens; it opens all the same.
    form->RunHandler(&zav::TForm1::FormCreate, showErrorBox);
    window->Show(showCommand);
    RunMessageLoop(window->Handle());

    // The form and its data modules go before the window they work on.
    form.reset();
    window.reset();
    return 0;
}
