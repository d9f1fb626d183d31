#pragma once

#include <windows.h>

#include "app/WindowLayout.h"
#include "app/win32/GdiObjects.h"

namespace zav::win32 {

// The screen's resolution for this window: its monitor's where the system tells it (Windows 10
// and later), else the system's, which is also what a null window gives.
inline int DpiOf(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    const int dpi = GetDeviceCaps(GetWindowDc(nullptr).get(), LOGPIXELSY);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace zav::win32
