#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "app/MainView.h"
#include "app/MainWindowDesign.h"
#include "app/win32/FileOpenDialog.h"
#include "app/win32/GdiObjects.h"

namespace zav::win32 {

// What the window forwards; the form runs each click the way the event loop runs a handler.
struct MainWindowEvents {
    std::function<void()> browseClick;
    std::function<void()> updateClick;
    std::function<void()> closeClick;
    // Before the window closes or the session ends: false keeps the window open.
    std::function<bool()> closeQuery;
};

// The main window "ZAV - Corona Update" with its controls, and the view its handlers work on.
// Created hidden; Show() opens it.
class MainWindow final : public IMainView {
public:
    using ErrorBox = std::function<void(const std::string& text)>;

    MainWindow(HINSTANCE instance, ErrorBox showErrorBox);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void SetEvents(MainWindowEvents events) { events_ = std::move(events); }
    HWND Handle() const { return window_; }
    // Shows the window as the program was asked to start (maximised, minimised or normal) and
    // puts the focus on the path box.
    void Show(int showCommand);

    std::string DatabasePath() const override;
    void SetDatabasePath(const std::string& path) override;
    bool CheckJahrChecked() const override;
    bool TrafikSelected() const override;
    bool GastroSelected() const override;
    int ShowMessage(const std::string& text, DialogKind kind) override;
    std::optional<std::string> ExecuteOpenDialog(const std::string& initialFolder) override;
    void CloseWindow() override;

private:
    static void RegisterWindowClass(HINSTANCE instance);
    // Destroys the window, which no longer calls back.
    void Release();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id);
    bool MayClose();
    void CreateControls();
    void ApplyDpi(int dpi);
    void LayoutControls();
    bool IsChecked(design::Index control) const;

    HINSTANCE instance_;
    ErrorBox showErrorBox_;
    MainWindowEvents events_;
    HWND window_ = nullptr;
    std::array<HWND, design::kCount> controls_{};  // in creation order
    // The controls' font; a member, so it goes only after Release() has destroyed the window.
    OwnedFont font_;
    int dpi_ = 96;
    SIZE labelSize_{};  // the label is sized to its caption in the current font
    HWND lastFocus_ = nullptr;
    FileOpenDialog openDialog_;
};

}  // namespace zav::win32
