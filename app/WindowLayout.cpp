#include "app/WindowLayout.h"

#include <algorithm>
#include <cstdint>

namespace zav {

int ScaleToDpi(int designed, int dpi) {
    const std::int64_t product = static_cast<std::int64_t>(designed) * dpi;
    const std::int64_t half = kDesignDpi / 2;
    // Round half away from zero, so a negative offset scales like its positive counterpart.
    return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                         : (product - half) / kDesignDpi);
}

LayoutRect PlaceAnchored(const LayoutRect& designed, const Anchors& anchors,
                         const LayoutSize& designedClient, const LayoutSize& client, int dpi) {
    const int extraWidth = client.width - ScaleToDpi(designedClient.width, dpi);
    const int extraHeight = client.height - ScaleToDpi(designedClient.height, dpi);

    LayoutRect placed{ScaleToDpi(designed.left, dpi), ScaleToDpi(designed.top, dpi),
                      ScaleToDpi(designed.width, dpi), ScaleToDpi(designed.height, dpi)};
    if (anchors.right) {
        if (anchors.left) {
            placed.width += extraWidth;
        } else {
            placed.left += extraWidth;
        }
    }
    if (anchors.bottom) {
        if (anchors.top) {
            placed.height += extraHeight;
        } else {
            placed.top += extraHeight;
        }
    }
    placed.width = std::max(placed.width, 0);
    placed.height = std::max(placed.height, 0);
    return placed;
}

}  // namespace zav
