#include "app/win32/MessageDialogs.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/WindowLayout.h"
#include "app/win32/Dpi.h"
#include "app/win32/GdiObjects.h"
#include "app/win32/ResourceIds.h"
#include "platform/win32/WinText.h"

namespace zav::win32 {
namespace {

struct ButtonLook {
    int id;
    const wchar_t* caption;
};

// Title, icons and buttons of each kind. The task dialog has no question-mark icon, so the
// confirmation carries the information icon there.
struct DialogLook {
    const wchar_t* title;
    const wchar_t* taskIcon;
    const wchar_t* ownIcon;
    int ownTemplate;
    std::vector<ButtonLook> buttons;  // left to right; the first is the default
};

DialogLook LookOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Confirmation:
            return {L"Bestätigen",
                    TD_INFORMATION_ICON,
                    IDI_QUESTION,
                    IDD_QUESTION,
                    {{kResultYes, L"&Ja"}, {kResultNo, L"&Nein"}}};
        case DialogKind::Information:
            return {L"Informationen",
                    TD_INFORMATION_ICON,
                    IDI_INFORMATION,
                    IDD_NOTICE,
                    {{kResultOk, L"OK"}}};
        case DialogKind::Warning:
            break;
    }
    return {L"Warnung", TD_WARNING_ICON, IDI_WARNING, IDD_NOTICE, {{kResultOk, L"OK"}}};
}

// Centres a dialog on the work area of its owner's screen (the primary one without an owner).
void CenterOnScreen(HWND dialog) {
    RECT frame{};
    GetWindowRect(dialog, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    HWND owner = GetWindow(dialog, GW_OWNER);
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// The native task dialog exists only in the common controls of version 6, which the manifest
// asks for; looked up at run time so the program also starts where it is missing. The common
// controls themselves are always loaded, as the program imports from them.
TaskDialogIndirectFn FindTaskDialog() {
    if (!IsAppThemed()) {
        return nullptr;
    }
    return reinterpret_cast<TaskDialogIndirectFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "TaskDialogIndirect")));
}

// Not every implementation centres a task dialog that opens right after another one.
HRESULT CALLBACK CenterTaskDialog(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR) {
    if (notification == TDN_CREATED) {
        CenterOnScreen(dialog);
    }
    return S_OK;
}

bool ShowTaskDialog(TaskDialogIndirectFn taskDialog, HWND owner, const std::wstring& text,
                    const DialogLook& look, int& result) {
    std::vector<TASKDIALOG_BUTTON> buttons;
    for (const ButtonLook& button : look.buttons) {
        buttons.push_back({button.id, button.caption});
    }
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.pszWindowTitle = look.title;
    config.pszMainIcon = look.taskIcon;
    config.pszContent = text.c_str();
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.data();
    config.nDefaultButton = look.buttons.front().id;
    config.pfCallback = CenterTaskDialog;
    int pressed = 0;
    if (FAILED(taskDialog(&config, &pressed, nullptr, nullptr))) {
        return false;
    }
    result = pressed;
    return true;
}

// --- The dialogs of our own (ZavCoronaUpdate.rc), for systems without task dialogs. ---

constexpr int kIconSize = 32;  // at the design resolution, as the system's large icons

using LoadIconWithScaleDownFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);

// One of the system's icons at the given size, scaled down from a larger image by the common
// controls of version 6; a copy of the one of the system's own size without them.
OwnedIcon LoadSystemIcon(const wchar_t* name, int size) {
    static const auto loadIcon = reinterpret_cast<LoadIconWithScaleDownFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (loadIcon != nullptr && SUCCEEDED(loadIcon(nullptr, name, size, size, &icon))) {
        return OwnedIcon(icon);
    }
    return OwnedIcon(CopyIcon(LoadIconW(nullptr, name)));
}

// The system's font for message texts, which it gives at its own resolution.
OwnedFont CreateMessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return nullptr;
    }
    LOGFONTW& font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, dpi, DpiOf(nullptr));
    return OwnedFont(CreateFontIndirectW(&font));
}

// What the dialog shows, and the font and icon it has made for its resolution.
struct OwnDialogState {
    const DialogLook& look;
    const std::wstring& text;
    OwnedFont font{};
    OwnedIcon icon{};
};

// Lays the dialog out around its text at the given resolution.
void ArrangeOwnDialog(HWND dialog, const OwnDialogState& state, int dpi) {
    const int margin = ScaleToDpi(12, dpi);
    const int gap = ScaleToDpi(8, dpi);
    const int iconSize = ScaleToDpi(kIconSize, dpi);
    const int buttonHeight = ScaleToDpi(25, dpi);

    const WindowDc dc = GetWindowDc(dialog);
    const SelectedObject selected = Select(dc.get(), state.font.get());
    RECT textRect{0, 0, ScaleToDpi(420, dpi), 0};
    DrawTextW(dc.get(), state.text.c_str(), static_cast<int>(state.text.size()), &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    std::vector<int> buttonWidths;
    for (const ButtonLook& button : state.look.buttons) {
        RECT captionRect{};
        DrawTextW(dc.get(), button.caption, -1, &captionRect, DT_CALCRECT | DT_SINGLELINE);
        buttonWidths.push_back(
            std::max<int>(ScaleToDpi(80, dpi), captionRect.right + 2 * ScaleToDpi(12, dpi)));
    }

    const int textWidth = textRect.right;
    const int textHeight = std::max<int>(textRect.bottom, iconSize);
    int buttonsWidth = gap * static_cast<int>(buttonWidths.size() - 1);
    for (int width : buttonWidths) {
        buttonsWidth += width;
    }
    const int clientWidth =
        std::max(margin + iconSize + gap * 2 + textWidth + margin, margin + buttonsWidth + margin);
    const int clientHeight = margin + textHeight + margin + buttonHeight + margin;

    SetWindowPos(GetDlgItem(dialog, IDC_MESSAGE_ICON), nullptr, margin, margin, iconSize, iconSize,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int textTop = margin + (textHeight - textRect.bottom) / 2;
    SetWindowPos(GetDlgItem(dialog, IDC_MESSAGE_TEXT), nullptr, margin + iconSize + gap * 2,
                 textTop, textWidth, textRect.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    int left = (clientWidth - buttonsWidth) / 2;
    const int top = clientHeight - margin - buttonHeight;
    for (std::size_t i = 0; i < state.look.buttons.size(); ++i) {
        SetWindowPos(GetDlgItem(dialog, state.look.buttons[i].id), nullptr, left, top,
                     buttonWidths[i], buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        left += buttonWidths[i] + gap;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

// Font, icon and layout at the resolution of the dialog's monitor.
void ApplyDpi(HWND dialog, OwnDialogState& state, int dpi) {
    OwnedFont font = CreateMessageFont(dpi);
    OwnedIcon icon = LoadSystemIcon(state.look.ownIcon, ScaleToDpi(kIconSize, dpi));
    EnumChildWindows(dialog, SetChildFont, reinterpret_cast<LPARAM>(font.get()));
    SendDlgItemMessageW(dialog, IDC_MESSAGE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()),
                        0);
    // The controls no longer use the former ones.
    state.font = std::move(font);
    state.icon = std::move(icon);
    ArrangeOwnDialog(dialog, state, dpi);
}

INT_PTR CALLBACK OwnDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<OwnDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<OwnDialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->look.title);
            SetDlgItemTextW(dialog, IDC_MESSAGE_TEXT, state->text.c_str());
            for (const ButtonLook& button : state->look.buttons) {
                SetDlgItemTextW(dialog, button.id, button.caption);
            }
            ApplyDpi(dialog, *state, DpiOf(dialog));
            CenterOnScreen(dialog);
            SetFocus(GetDlgItem(dialog, state->look.buttons.front().id));
            return FALSE;  // the focus is set
        }
        case WM_DPICHANGED: {
            // Moved to a monitor of another resolution: laid out anew where the system suggests.
            ApplyDpi(dialog, *state, HIWORD(wParam));
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(dialog, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return TRUE;
        }
        case WM_COMMAND: {
            // The dialog's controls are its buttons (the statics send nothing), and Escape and
            // the close box send IDCANCEL.
            const int id = LOWORD(wParam);
            if (GetDlgItem(dialog, id) != nullptr || id == IDCANCEL) {
                EndDialog(dialog, id);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

int ShowOwnDialog(HWND owner, const std::wstring& text, const DialogLook& look) {
    OwnDialogState state{look, text};
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(look.ownTemplate), owner,
                        OwnDialogProc, reinterpret_cast<LPARAM>(&state));
    return result <= 0 ? kResultCancel : static_cast<int>(result);
}

}  // namespace

int ShowMessageDialog(HWND owner, const std::string& text, DialogKind kind) {
    const DialogLook look = LookOf(kind);
    const std::wstring wideText = ToUtf16(text);
    if (TaskDialogIndirectFn taskDialog = FindTaskDialog()) {
        int result = 0;
        if (ShowTaskDialog(taskDialog, owner, wideText, look, result)) {
            return result;
        }
    }
    return ShowOwnDialog(owner, wideText, look);
}

void ShowErrorBox(HWND mainWindow, const std::string& text, const std::string& title) {
    HWND owner = GetActiveWindow();
    // Without an owner the box would leave the main window open to clicks.
    if (owner == nullptr && mainWindow != nullptr && IsWindowVisible(mainWindow)) {
        owner = mainWindow;
    }
    MessageBoxW(owner, ToUtf16(text).c_str(), ToUtf16(title).c_str(), MB_ICONSTOP | MB_OK);
}

}  // namespace zav::win32
