#pragma once

#include <cstdint>

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
    friend constexpr bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct LayoutSize {
    int width = 0;
    int height = 0;
};

// The resolution the window was designed at.
constexpr int kDesignDpi = 96;

// A designed length at the screen's resolution, rounded to the nearest pixel; each length of a
// rectangle is scaled on its own, so a control keeps its designed size whatever its position.
constexpr int ScaleToDpi(int designed, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(designed) * dpi;
    const std::int64_t half = kDesignDpi / 2;
    // Round half away from zero, so a negative offset scales like its positive counterpart.
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                         : (product - half) / kDesignDpi);
}

// Where a control stands in a client area of the given size: its designed rectangle scaled to the
// resolution, then moved or stretched by the difference between the actual client area and the
// scaled designed one, as its anchors ask. Never a negative width or height.
constexpr LayoutRect PlaceAnchored(const LayoutRect& designed, const Anchors& anchors,
                                   const LayoutSize& designedClient, const LayoutSize& client,
                                   int dpi) {
    const int extraWidth = client.width - ScaleToDpi(designedClient.width, dpi);
    const int extraHeight = client.height - ScaleToDpi(designedClient.height, dpi);
    LayoutRect placed{ScaleToDpi(designed.left, dpi), ScaleToDpi(designed.top, dpi),
                      ScaleToDpi(designed.width, dpi), ScaleToDpi(designed.height, dpi)};
    if (anchors.right) {
        (anchors.left ? placed.width : placed.left) += extraWidth;
    }
    if (anchors.bottom) {
        (anchors.top ? placed.height : placed.top) += extraHeight;
    }
    placed.width = placed.width < 0 ? 0 : placed.width;
    placed.height = placed.height < 0 ? 0 : placed.height;
    return placed;
}

}  // namespace zav
