// Test driver for the Windows front end. Each command finds a window by its caption or title,
// waits for it at most the given time, does one thing and prints what it saw as key=value lines.
// Exit code 0 on success, 1 when the window, control or button was not found in time, 64 on
// wrong usage; "run" exits with the program's exit code.
//
//   driver wait-window CAPTION [MS]          a visible top-level window with this caption
//   driver wait-gone CAPTION [MS]            no such window any more
//   driver absent CAPTION MS                 no such window appears within MS
//   driver controls CAPTION                  every child: class, text, rect, state
//   driver client CAPTION                    the client area's size
//   driver focus CAPTION                     the index of the focused child
//   driver tab-order CAPTION                 the children in the order Tab visits them
//   driver set-text CAPTION INDEX TEXT       WM_SETTEXT on a child
//   driver click CAPTION TEXT                BM_CLICK on the child button with this text
//   driver resize CAPTION WIDTH HEIGHT       gives the window a client area of this size
//   driver dialog TITLE [MS]                 the caption of a dialog's owner and the texts of
//                                            its children
//   driver press TITLE BUTTON [MS]           presses a dialog's button by its text
//   driver type TITLE CLASS TEXT             WM_SETTEXT on a dialog's first child of this class
//   driver close CAPTION                     WM_CLOSE, as the close box sends it
//   driver key CAPTION KEY                   a key press (tab, enter, escape, space) posted to
//                                            the focused control of the window's thread
//   driver state CAPTION                     normal, maximized or minimized
//   driver acp                               the ANSI code page
//   driver design DPI [WIDTH HEIGHT]         where the window's design puts each control in a
//                                            client area of this size, by default the designed
//                                            one at this resolution: client, rectI and captionI
//   driver run PROGRAM SHOW MS               starts the program with this show command (as a
//                                            shortcut does) and waits for its end; exits with
//                                            the program's exit code
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainWindowDesign.h"
#include "platform/win32/WinText.h"

namespace {

using zav::win32::ToUtf8;

constexpr DWORD kDefaultWaitMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr int kUsage = 64;

// Control characters written visibly, so each value stays on its line.
std::string Printable(const std::wstring& text) {
    std::string out;
    for (const char c : ToUtf8(text)) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// SendMessage that gives up on a hung window, so the driver never hangs with it.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[4096] = {};
    DWORD_PTR length = 0;
    // A hung window must not hang the driver.
    if (!SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer),
                             reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &length)) {
        return {};
    }
    return std::wstring(buffer, length);
}

std::wstring ClassOf(HWND window) {
    wchar_t buffer[256] = {};
    const int length = GetClassNameW(window, buffer, static_cast<int>(std::size(buffer)));
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

struct TopLevelSearch {
    const std::wstring* caption;
    HWND found;
};

// A visible top-level window with this caption, owned by anyone. FindWindowW alone would also
// find hidden windows and cannot tell a dialog from the main window by visibility.
BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TopLevelSearch*>(data);
    if (IsWindowVisible(window) && TextOf(window) == *search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(const std::wstring& caption) {
    TopLevelSearch search{&caption, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitTopLevel(const std::wstring& caption, DWORD waitMs) {
    const ULONGLONG end = GetTickCount64() + waitMs;
    for (;;) {
        if (HWND window = FindTopLevel(caption)) {
            return window;
        }
        if (GetTickCount64() >= end) {
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
}

// The direct children in z-order, which is their creation order; the dialog manager looks no
// deeper either.
std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<HWND> direct;
    for (HWND child : children) {
        if (GetParent(child) == parent) {
            direct.push_back(child);
        }
    }
    return direct;
}

int IndexOf(const std::vector<HWND>& children, HWND window) {
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i] == window) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

HWND ButtonWithText(HWND parent, const std::wstring& text) {
    for (HWND child : ChildrenOf(parent)) {
        if (TextOf(child) == text && IsWindowVisible(child)) {
            return child;
        }
    }
    return nullptr;
}

DWORD WaitArg(int argc, wchar_t** argv, int index) {
    return argc > index ? static_cast<DWORD>(std::wcstoul(argv[index], nullptr, 10))
                        : kDefaultWaitMs;
}

int NotFound(const std::string& what) {
    Print("error=not found: " + what);
    return 1;
}

int Controls(HWND window) {
    const std::vector<HWND> children = ChildrenOf(window);
    for (std::size_t i = 0; i < children.size(); ++i) {
        HWND child = children[i];
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const LONG exStyle = GetWindowLongW(child, GWL_EXSTYLE);
        const LRESULT check = Ask(child, BM_GETCHECK);
        char line[256];
        std::snprintf(line, sizeof(line),
                      "control=%zu class=%s rect=%ld,%ld,%ld,%ld visible=%d tabstop=%d group=%d "
                      "checked=%d composited=%d",
                      i, ToUtf8(ClassOf(child)).c_str(), rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, (style & WS_VISIBLE) ? 1 : 0,
                      (style & WS_TABSTOP) ? 1 : 0, (style & WS_GROUP) ? 1 : 0,
                      check == BST_CHECKED ? 1 : 0, (exStyle & WS_EX_COMPOSITED) ? 1 : 0);
        Print(line);
        Print("text" + std::to_string(i) + "=" + Printable(TextOf(child)));
    }
    return 0;
}

int Design(int dpi, zav::LayoutSize client) {
    Print("client=" + std::to_string(client.width) + "," + std::to_string(client.height));
    for (int i = 0; i < zav::design::kCount; ++i) {
        const zav::design::Control& control = zav::design::kControls[i];
        const zav::LayoutRect rect =
            zav::PlaceAnchored(control.rect, control.anchors, zav::design::kClient, client, dpi);
        const std::string index = std::to_string(i);
        Print("rect" + index + "=" + std::to_string(rect.left) + "," + std::to_string(rect.top) +
              "," + std::to_string(rect.width) + "," + std::to_string(rect.height));
        Print("caption" + index + "=" + control.caption);
    }
    return 0;
}

int Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return NotFound("thread");
    }
    Print("focus=" + std::to_string(IndexOf(ChildrenOf(window), info.hwndFocus)));
    return 0;
}

// Posted like the keyboard's own messages, so the program's message loop sees them as typed.
int Key(HWND window, const std::wstring& key) {
    const struct {
        const wchar_t* name;
        UINT code;
    } keys[] = {
        {L"tab", VK_TAB}, {L"enter", VK_RETURN}, {L"escape", VK_ESCAPE}, {L"space", VK_SPACE}};
    UINT code = 0;
    for (const auto& known : keys) {
        if (key == known.name) {
            code = known.code;
        }
    }
    if (code == 0) {
        return kUsage;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
        info.hwndFocus != nullptr) {
        target = info.hwndFocus;
    }
    const UINT scan = MapVirtualKeyW(code, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, code, 1 | (scan << 16));
    PostMessageW(target, WM_KEYUP, code, 1 | (scan << 16) | (3U << 30));
    Print("key=" + ToUtf8(key));
    return 0;
}

int TabOrder(HWND window) {
    const std::vector<HWND> children = ChildrenOf(window);
    std::string order;
    HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    HWND current = first;
    for (std::size_t steps = 0; current != nullptr && steps < children.size(); ++steps) {
        if (!order.empty()) {
            order += ',';
        }
        order += std::to_string(IndexOf(children, current));
        current = GetNextDlgTabItem(window, current, FALSE);
        if (current == first) {
            break;
        }
    }
    Print("taborder=" + order);
    return 0;
}

int Dialog(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    Print("owner=" + (owner != nullptr ? Printable(TextOf(owner)) : std::string()));
    for (HWND child : ChildrenOf(dialog)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const std::wstring windowClass = ClassOf(child);
        std::string kind = ToUtf8(windowClass);
        if (_wcsicmp(windowClass.c_str(), L"Button") == 0) {
            kind = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? "defbutton" : "button";
        } else if (_wcsicmp(windowClass.c_str(), L"Static") == 0 &&
                   (style & SS_TYPEMASK) == SS_ICON) {
            kind = "icon";
        }
        // Whose icon it is cannot be told from outside: icons are not shared across processes.
        if (kind == "icon") {
            const bool shown = Ask(child, STM_GETICON) != 0;
            Print(std::string("icon=") + (shown ? "shown" : "none"));
            continue;
        }
        Print(kind + "=" + Printable(TextOf(child)));
    }
    return 0;
}

int RunProgram(const std::wstring& program, int showCommand, DWORD waitMs) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return NotFound(ToUtf8(program));
    }
    CloseHandle(process.hThread);
    DWORD exitCode = 1;
    if (WaitForSingleObject(process.hProcess, waitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
        Print("exit=" + std::to_string(exitCode));
    } else {
        TerminateProcess(process.hProcess, 1);
        Print("error=still running: " + ToUtf8(program));
    }
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

int Run(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"acp") {
        Print("acp=" + std::to_string(GetACP()));
        return 0;
    }
    if ((argc == 3 || argc == 5) && std::wstring(argv[1]) == L"design") {
        const auto number = [argv](int index) {
            return static_cast<int>(std::wcstol(argv[index], nullptr, 10));
        };
        const int dpi = number(2);
        const zav::LayoutSize designed{zav::ScaleToDpi(zav::design::kClient.width, dpi),
                                       zav::ScaleToDpi(zav::design::kClient.height, dpi)};
        return Design(dpi, argc == 5 ? zav::LayoutSize{number(3), number(4)} : designed);
    }
    if (argc < 3) {
        return kUsage;
    }
    const std::wstring command = argv[1];
    const std::wstring caption = argv[2];
    const std::string name = ToUtf8(caption);

    if (command == L"wait-window") {
        HWND window = WaitTopLevel(caption, WaitArg(argc, argv, 3));
        return window != nullptr ? (Print("found=" + name), 0) : NotFound(name);
    }
    if (command == L"wait-gone" || command == L"absent") {
        const bool mustAppearNever = command == L"absent";
        const ULONGLONG end = GetTickCount64() + WaitArg(argc, argv, 3);
        for (;;) {
            const bool present = FindTopLevel(caption) != nullptr;
            if (present && mustAppearNever) {
                Print("error=appeared: " + name);
                return 1;
            }
            if (!present && !mustAppearNever) {
                Print("gone=" + name);
                return 0;
            }
            if (GetTickCount64() >= end) {
                if (mustAppearNever) {
                    Print("absent=" + name);
                    return 0;
                }
                Print("error=still there: " + name);
                return 1;
            }
            Sleep(kPollMs);
        }
    }
    if (command == L"run" && argc >= 5) {
        return RunProgram(caption, std::wcstol(argv[3], nullptr, 10),
                          static_cast<DWORD>(std::wcstoul(argv[4], nullptr, 10)));
    }
    if (command == L"type" && argc >= 5) {
        HWND dialog = WaitTopLevel(caption, kDefaultWaitMs);
        if (dialog == nullptr) {
            return NotFound(name);
        }
        for (HWND child : ChildrenOf(dialog)) {
            if (IsWindowVisible(child) && _wcsicmp(ClassOf(child).c_str(), argv[3]) == 0) {
                Ask(child, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
                Print("typed=" + Printable(TextOf(child)));
                return 0;
            }
        }
        return NotFound(ToUtf8(argv[3]));
    }
    if (command == L"dialog" || command == L"press") {
        const DWORD waitMs = WaitArg(argc, argv, command == L"press" ? 4 : 3);
        HWND dialog = WaitTopLevel(caption, waitMs);
        if (dialog == nullptr) {
            return NotFound(name);
        }
        if (command == L"dialog") {
            return Dialog(dialog);
        }
        if (argc < 4) {
            return kUsage;
        }
        HWND button = ButtonWithText(dialog, argv[3]);
        if (button == nullptr) {
            return NotFound(ToUtf8(argv[3]));
        }
        // Posted, so the driver never waits on what the press sets off.
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        Print("pressed=" + ToUtf8(argv[3]));
        return 0;
    }

    HWND window = WaitTopLevel(caption, kDefaultWaitMs);
    if (window == nullptr) {
        return NotFound(name);
    }
    if (command == L"controls") {
        return Controls(window);
    }
    if (command == L"client") {
        RECT client{};
        GetClientRect(window, &client);
        Print("client=" + std::to_string(client.right) + "," + std::to_string(client.bottom));
        return 0;
    }
    if (command == L"focus") {
        return Focus(window);
    }
    if (command == L"tab-order") {
        return TabOrder(window);
    }
    if (command == L"key" && argc >= 4) {
        return Key(window, argv[3]);
    }
    if (command == L"state") {
        Print(std::string("state=") + (IsZoomed(window)   ? "maximized"
                                       : IsIconic(window) ? "minimized"
                                                          : "normal"));
        return 0;
    }
    if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        Print("closed=" + name);
        return 0;
    }
    if (command == L"set-text" && argc >= 5) {
        const std::vector<HWND> children = ChildrenOf(window);
        const std::size_t index = std::wcstoul(argv[3], nullptr, 10);
        if (index >= children.size()) {
            return NotFound("control " + ToUtf8(argv[3]));
        }
        // Waits out a program busy for a while, as one emulated at 32 bits can be; bounded.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(children[index], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]),
                            SMTO_NORMAL, 60000, &ignored);
        Print("text=" + Printable(TextOf(children[index])));
        return 0;
    }
    if (command == L"click" && argc >= 4) {
        HWND button = ButtonWithText(window, argv[3]);
        if (button == nullptr) {
            return NotFound(ToUtf8(argv[3]));
        }
        PostMessageW(button, BM_CLICK, 0, 0);
        Print("clicked=" + ToUtf8(argv[3]));
        return 0;
    }
    if (command == L"resize" && argc >= 5) {
        RECT frame{0, 0, std::wcstol(argv[3], nullptr, 10), std::wcstol(argv[4], nullptr, 10)};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(window, &client);
        Print("client=" + std::to_string(client.right) + "," + std::to_string(client.bottom));
        return 0;
    }
    return kUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int result = Run(argc, argv);
    if (result == kUsage) {
        Print("error=usage, see the head of driver.cpp");
    }
    return result;
}
