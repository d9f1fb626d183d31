#pragma once

namespace zav {

// The edges of the window a control keeps its distance to when the window is resized: left and
// right together stretch it, right alone moves it, bottom alone moves it down.
struct Anchors {
    bool left = true;
    bool top = true;
    bool right = false;
    bool bottom = false;
};

struct LayoutRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct LayoutSize {
    int width = 0;
    int height = 0;
};

// The resolution the window was designed at.
constexpr int kDesignDpi = 96;

// A designed length at the screen's resolution, rounded to the nearest pixel.
int ScaleToDpi(int designed, int dpi);

// Where a control stands in a client area of the given size: its designed rectangle scaled to the
// resolution, then moved or stretched by the difference between the actual client area and the
// scaled designed one, as its anchors ask. Never a negative width or height.
LayoutRect PlaceAnchored(const LayoutRect& designed, const Anchors& anchors,
                         const LayoutSize& designedClient, const LayoutSize& client, int dpi);

}  // namespace zav
