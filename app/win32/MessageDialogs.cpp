#include "app/win32/MessageDialogs.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <vector>

#include "app/WindowLayout.h"
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
    std::vector<ButtonLook> buttons;  // left to right; the first is the default
};

DialogLook LookOf(DialogKind kind) {
    switch (kind) {
        case DialogKind::Confirmation:
            return {L"Bestätigen",
                    TD_INFORMATION_ICON,
                    IDI_QUESTION,
                    {{kResultYes, L"&Ja"}, {kResultNo, L"&Nein"}}};
        case DialogKind::Information:
            return {L"Informationen", TD_INFORMATION_ICON, IDI_INFORMATION, {{kResultOk, L"OK"}}};
        case DialogKind::Warning:
            break;
    }
    return {L"Warnung", TD_WARNING_ICON, IDI_WARNING, {{kResultOk, L"OK"}}};
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
// asks for; looked up at run time so the program also starts where it is missing.
TaskDialogIndirectFn FindTaskDialog() {
    if (!IsAppThemed()) {
        return nullptr;
    }
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    if (controls == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<TaskDialogIndirectFn>(
        reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")));
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

// --- The dialog of our own, for systems without task dialogs or visual styles. ---

constexpr WORD kIconId = 100;
constexpr WORD kTextId = 101;

// Builds a dialog template in memory; positions are set when the dialog starts, in pixels.
class DialogTemplate {
public:
    explicit DialogTemplate(const std::wstring& title, WORD itemCount) {
        AppendDword(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        AppendDword(0);  // extended style
        words_.push_back(itemCount);
        AppendRect();
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        AppendText(title);
    }

    void AddItem(DWORD style, WORD id, WORD classAtom, const std::wstring& text) {
        if (words_.size() % 2 != 0) {
            words_.push_back(0);  // items start on a DWORD boundary
        }
        AppendDword(style | WS_CHILD | WS_VISIBLE);
        AppendDword(0);
        AppendRect();
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        AppendText(text);
        words_.push_back(0);  // no creation data
    }

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void AppendDword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    // Element by element: g++ 12 warns falsely on range inserts into a growing vector.
    void AppendRect() {
        for (int i = 0; i < 4; ++i) {
            words_.push_back(0);
        }
    }
    void AppendText(const std::wstring& text) {
        for (const wchar_t c : text) {
            words_.push_back(static_cast<WORD>(c));
        }
        words_.push_back(0);
    }

    std::vector<WORD> words_;  // WORD aligned, and the vector's storage is DWORD aligned
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kStaticAtom = 0x0082;

struct OwnDialogState {
    const DialogLook* look;
    std::wstring text;
    HFONT font = nullptr;
};

int DialogDpi(HWND dialog) {
    HDC screen = GetDC(dialog);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(dialog, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

// Lays the dialog out around its text and centres it on the screen.
void ArrangeOwnDialog(HWND dialog, const OwnDialogState& state) {
    const int dpi = DialogDpi(dialog);
    const int margin = ScaleToDpi(12, dpi);
    const int gap = ScaleToDpi(8, dpi);
    const int iconSize = GetSystemMetrics(SM_CXICON);
    const int buttonHeight = ScaleToDpi(25, dpi);

    HDC dc = GetDC(dialog);
    HGDIOBJ oldFont = SelectObject(dc, state.font);
    RECT textRect{0, 0, ScaleToDpi(420, dpi), 0};
    DrawTextW(dc, state.text.c_str(), static_cast<int>(state.text.size()), &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    std::vector<int> buttonWidths;
    for (const ButtonLook& button : state.look->buttons) {
        RECT captionRect{};
        DrawTextW(dc, button.caption, -1, &captionRect, DT_CALCRECT | DT_SINGLELINE);
        buttonWidths.push_back(
            std::max<int>(ScaleToDpi(80, dpi), captionRect.right + 2 * ScaleToDpi(12, dpi)));
    }
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);

    const int textWidth = textRect.right;
    const int textHeight = std::max<int>(textRect.bottom, iconSize);
    int buttonsWidth = gap * static_cast<int>(buttonWidths.size() - 1);
    for (int width : buttonWidths) {
        buttonsWidth += width;
    }
    const int clientWidth =
        std::max(margin + iconSize + gap * 2 + textWidth + margin, margin + buttonsWidth + margin);
    const int clientHeight = margin + textHeight + margin + buttonHeight + margin;

    SetWindowPos(GetDlgItem(dialog, kIconId), nullptr, margin, margin, iconSize, iconSize,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int textTop = margin + (textHeight - textRect.bottom) / 2;
    SetWindowPos(GetDlgItem(dialog, kTextId), nullptr, margin + iconSize + gap * 2, textTop,
                 textWidth, textRect.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    int left = (clientWidth - buttonsWidth) / 2;
    const int top = clientHeight - margin - buttonHeight;
    for (std::size_t i = 0; i < state.look->buttons.size(); ++i) {
        SetWindowPos(GetDlgItem(dialog, state.look->buttons[i].id), nullptr, left, top,
                     buttonWidths[i], buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        left += buttonWidths[i] + gap;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterOnScreen(dialog);
}

BOOL CALLBACK SetChildFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

INT_PTR CALLBACK OwnDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<OwnDialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            EnumChildWindows(dialog, SetChildFont, reinterpret_cast<LPARAM>(state->font));
            SendDlgItemMessageW(dialog, kIconId, STM_SETICON,
                                reinterpret_cast<WPARAM>(LoadIconW(nullptr, state->look->ownIcon)),
                                0);
            ArrangeOwnDialog(dialog, *state);
            SetFocus(GetDlgItem(dialog, state->look->buttons.front().id));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            auto* state = reinterpret_cast<OwnDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const bool isButton =
                std::any_of(state->look->buttons.begin(), state->look->buttons.end(),
                            [id](const ButtonLook& button) { return button.id == id; });
            if (isButton || id == IDCANCEL) {
                EndDialog(dialog, id);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

// The system's font for message texts.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return nullptr;
    }
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

int ShowOwnDialog(HWND owner, const std::wstring& text, const DialogLook& look) {
    DialogTemplate dialogTemplate(look.title, static_cast<WORD>(2 + look.buttons.size()));
    dialogTemplate.AddItem(SS_ICON, kIconId, kStaticAtom, L"");
    dialogTemplate.AddItem(SS_LEFT | SS_NOPREFIX, kTextId, kStaticAtom, text);
    bool first = true;
    for (const ButtonLook& button : look.buttons) {
        const DWORD style = (first ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON) | WS_TABSTOP;
        dialogTemplate.AddItem(style, static_cast<WORD>(button.id), kButtonAtom, button.caption);
        first = false;
    }
    OwnDialogState state{&look, text, CreateMessageFont()};
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate.Get(), owner,
                                OwnDialogProc, reinterpret_cast<LPARAM>(&state));
    if (state.font != nullptr) {
        DeleteObject(state.font);
    }
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
