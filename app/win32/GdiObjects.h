#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zav::win32 {

// Owners of the GDI objects the windows measure and draw with; each undoes its call when it goes.

struct ReleaseDcOf {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
// A window's device context from GetDC; a null window gives the screen's.
using WindowDc = std::unique_ptr<std::remove_pointer_t<HDC>, ReleaseDcOf>;
inline WindowDc GetWindowDc(HWND window) {
    return WindowDc(GetDC(window), {window});
}

struct SelectAgain {
    HDC dc;
    void operator()(HGDIOBJ replaced) const { SelectObject(dc, replaced); }
};
// An object selected into a device context: the one it replaced is selected again.
using SelectedObject = std::unique_ptr<void, SelectAgain>;
inline SelectedObject Select(HDC dc, HGDIOBJ object) {
    return SelectedObject(SelectObject(dc, object), {dc});
}

struct DeleteFont {
    void operator()(HFONT font) const { DeleteObject(font); }
};
// A font this program made.
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, DeleteFont>;

struct DestroyIconOf {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
// An icon this program made or copied.
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, DestroyIconOf>;

}  // namespace zav::win32
