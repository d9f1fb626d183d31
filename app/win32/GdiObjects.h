#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zav::win32 {

// A window's device context from GetDC, released when it goes; a null window gives the screen's.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    operator HDC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context; the one it replaced is selected again when it goes.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, replaced_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ replaced_;
};

struct DeleteFont {
    void operator()(HFONT font) const { DeleteObject(font); }
};

// A font this program made, deleted when its owner lets it go.
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, DeleteFont>;

}  // namespace zav::win32
