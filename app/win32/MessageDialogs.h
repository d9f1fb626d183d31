#pragma once

#include <windows.h>

#include <string>

#include "app/MainView.h"

namespace zav::win32 {

// One of the three message dialogs, modal over owner and centred on the screen: a native task
// dialog where the system offers one and visual styles are active, else a dialog of our own with
// the same title, icon kind, text and buttons. Gives the pressed button's result; Escape and the
// close box give kResultCancel.
int ShowMessageDialog(HWND owner, const std::string& text, DialogKind kind);

// The error box: the system's message box with the stop icon and one OK button, modal over the
// program's active window, or over the main window when the program has no active window (another
// program is in front) and the main window is shown.
void ShowErrorBox(HWND mainWindow, const std::string& text, const std::string& title);

}  // namespace zav::win32
