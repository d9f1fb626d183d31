#include "app/win32/MainWindow.h"

#include <commctrl.h>

#include "app/ErrorBox.h"
#include "app/WindowLayout.h"
#include "app/win32/Dpi.h"
#include "app/win32/MessageDialogs.h"
#include "platform/Errors.h"
#include "platform/win32/WinText.h"

namespace zav::win32 {

using namespace design;

namespace {

constexpr wchar_t kWindowClass[] = L"ZavCoronaUpdateMainWindow";

// Control ids start above IDOK and IDCANCEL, which Enter and Escape send and the window ignores.
constexpr int kFirstControlId = 100;

struct NativeControl {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

NativeControl NativeControlOf(const Control& design) {
    // Tab reaches every control but the label, and of a radio group only its first button.
    const DWORD tab = design.kind == Kind::RadioButton && !design.startsGroup ? 0 : WS_TABSTOP;
    switch (design.kind) {
        case Kind::Label:
            return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
        case Kind::Edit:
            return {WC_EDITW, ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
        case Kind::PushButton:
            return {WC_BUTTONW, BS_PUSHBUTTON | tab, 0};
        case Kind::RadioButton:
            return {WC_BUTTONW, BS_AUTORADIOBUTTON | tab, 0};
        case Kind::CheckBox:
            return {WC_BUTTONW, BS_AUTOCHECKBOX | tab, 0};
    }
    return {};
}

// The outer size of the window whose client area is the designed one at this resolution.
SIZE WindowSizeFor(int dpi, DWORD style) {
    RECT frame{0, 0, ScaleToDpi(kClient.width, dpi), ScaleToDpi(kClient.height, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace

void MainWindow::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        return;
    }
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &MainWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass)) {
        throw PlatformError(SystemMessage(GetLastError()));
    }
}

MainWindow::MainWindow(HINSTANCE instance, ErrorBox showErrorBox)
    : instance_(instance), showErrorBox_(std::move(showErrorBox)) {
    RegisterWindowClass(instance_);
    constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
    const int dpi = DpiOf(nullptr);
    const SIZE size = WindowSizeFor(dpi, kStyle);
    window_ = CreateWindowExW(0, kWindowClass, ToUtf16(kTitle).c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance_, this);
    if (window_ == nullptr) {
        throw PlatformError(SystemMessage(GetLastError()));
    }
    try {
        CreateControls();
        // The window may open on a monitor of another resolution than the system's.
        const int windowDpi = DpiOf(window_);
        if (windowDpi != dpi) {
            const SIZE scaled = WindowSizeFor(windowDpi, kStyle);
            SetWindowPos(window_, nullptr, 0, 0, scaled.cx, scaled.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ApplyDpi(windowDpi);
    } catch (...) {
        // No destructor runs for a half-made object, and the window must not call back into it.
        Release();
        throw;
    }
}

MainWindow::~MainWindow() {
    Release();
}

void MainWindow::Release() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    window_ = nullptr;
}

void MainWindow::CreateControls() {
    for (int i = 0; i < kCount; ++i) {
        const Control& design = kControls[i];
        NativeControl native = NativeControlOf(design);
        native.style |=
            WS_CHILD | (design.shown ? WS_VISIBLE : 0) | (design.startsGroup ? WS_GROUP : 0);
        // "..." is painted double-buffered (composited), so it does not flicker while it moves
        // with the right edge.
        native.extendedStyle |= i == kBrowse ? WS_EX_COMPOSITED : 0;
        controls_[i] = CreateWindowExW(
            native.extendedStyle, native.windowClass, ToUtf16(design.caption).c_str(), native.style,
            0, 0, 0, 0, window_, reinterpret_cast<HMENU>(INT_PTR{kFirstControlId + i}), instance_,
            nullptr);
        if (controls_[i] == nullptr) {
            throw PlatformError(SystemMessage(GetLastError()));
        }
    }
    SendMessageW(controls_[kTrafik], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(controls_[kCheckJahr], BM_SETCHECK, BST_CHECKED, 0);
}

// Font and label size at the given resolution, then the layout.
void MainWindow::ApplyDpi(int dpi) {
    dpi_ = dpi;
    OwnedFont font(CreateFontW(-ScaleToDpi(kFontPixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                               FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial"));
    if (!font) {
        throw PlatformError(SystemMessage(GetLastError()));
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    for (HWND control : controls_) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);  // the controls no longer use the former one

    const WindowDc dc = GetWindowDc(controls_[kLabel]);
    const SelectedObject selected = Select(dc.get(), font_.get());
    const std::wstring caption = ToUtf16(kControls[kLabel].caption);
    GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &labelSize_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    labelSize_.cy = metrics.tmHeight;

    LayoutControls();
}

void MainWindow::LayoutControls() {
    RECT client{};
    GetClientRect(window_, &client);
    const LayoutSize clientSize{client.right, client.bottom};
    HDWP positions = BeginDeferWindowPos(kCount);
    for (int i = 0; i < kCount; ++i) {
        LayoutRect placed =
            PlaceAnchored(kControls[i].rect, kControls[i].anchors, kClient, clientSize, dpi_);
        if (i == kLabel) {
            placed.width = labelSize_.cx;
            placed.height = labelSize_.cy;
        }
        if (positions != nullptr) {
            positions = DeferWindowPos(positions, controls_[i], nullptr, placed.left, placed.top,
                                       placed.width, placed.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (positions != nullptr) {
        EndDeferWindowPos(positions);
    }
}

void MainWindow::Show(int showCommand) {
    // Maximised or minimised only when asked so; a shortcut set to run minimised asks for the
    // minimised window without activation.
    int command = SW_SHOWNORMAL;
    if (showCommand == SW_SHOWMAXIMIZED || showCommand == SW_SHOWMINNOACTIVE) {
        command = showCommand;
    }
    ShowWindow(window_, command);
    UpdateWindow(window_);
    lastFocus_ = controls_[kPath];
    if (command != SW_SHOWMINNOACTIVE) {
        SetFocus(controls_[kPath]);
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<MainWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                OnCommand(LOWORD(wParam));
            }
            return 0;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED && controls_[kCount - 1] != nullptr) {
                LayoutControls();
            }
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            const int dpi = HIWORD(wParam);
            RunEventHandler([this, dpi] { ApplyDpi(dpi); }, showErrorBox_);
            return 0;
        }
        case WM_ACTIVATE:
            // Keep the focused control across switching to other windows and back.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window_, focus)) {
                    lastFocus_ = focus;
                }
            } else if (lastFocus_ != nullptr && !IsIconic(window_)) {
                SetFocus(lastFocus_);
            }
            return 0;
        case WM_SETFOCUS:
            if (lastFocus_ != nullptr) {
                SetFocus(lastFocus_);
            }
            return 0;
        case WM_CLOSE:
            if (MayClose()) {
                DestroyWindow(window_);
            }
            return 0;
        case WM_QUERYENDSESSION:
            return MayClose() ? TRUE : FALSE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            // The handle may be reused for another window from here on.
            const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            window_ = nullptr;
            controls_.fill(nullptr);
            return result;
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void MainWindow::OnCommand(int id) {
    const std::function<void()>* handler = nullptr;
    switch (id - kFirstControlId) {
        case kBrowse:
            handler = &events_.browseClick;
            break;
        case kUpdate:
            handler = &events_.updateClick;
            break;
        case kClose:
            handler = &events_.closeClick;
            break;
        default:
            return;
    }
    if (*handler) {
        (*handler)();
    }
}

bool MainWindow::MayClose() {
    return !events_.closeQuery || events_.closeQuery();
}

std::string MainWindow::DatabasePath() const {
    const int length = GetWindowTextLengthW(controls_[kPath]);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(controls_[kPath], text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return ToUtf8(text);
}

void MainWindow::SetDatabasePath(const std::string& path) {
    SetWindowTextW(controls_[kPath], ToUtf16(path).c_str());
}

bool MainWindow::IsChecked(Index control) const {
    return SendMessageW(controls_[control], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool MainWindow::CheckJahrChecked() const {
    return IsChecked(kCheckJahr);
}
bool MainWindow::TrafikSelected() const {
    return IsChecked(kTrafik);
}
bool MainWindow::GastroSelected() const {
    return IsChecked(kGastro);
}

int MainWindow::ShowMessage(const std::string& text, DialogKind kind) {
    return ShowMessageDialog(window_, text, kind);
}

std::optional<std::string> MainWindow::ExecuteOpenDialog(const std::string& initialFolder) {
    return openDialog_.Execute(window_, initialFolder);
}

void MainWindow::CloseWindow() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace zav::win32
