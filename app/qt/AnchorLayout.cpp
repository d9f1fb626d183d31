#include "app/qt/AnchorLayout.h"

#include <algorithm>
#include <cmath>

namespace zav::qt {
namespace {

// One axis: the control's start and extent for a client grown by `delta`.
void Place(int& start, int& extent, bool nearAnchor, bool farAnchor, int delta) {
    if (nearAnchor && farAnchor) {
        extent = std::max(0, extent + delta);
    } else if (farAnchor) {
        start += delta;
    }
}

}  // namespace

QRect AnchoredRect(const QRect& designed, Anchors anchors, const QSize& designedClient,
                   const QSize& client) {
    int left = designed.left();
    int width = designed.width();
    int top = designed.top();
    int height = designed.height();
    Place(left, width, anchors.left, anchors.right, client.width() - designedClient.width());
    Place(top, height, anchors.top, anchors.bottom, client.height() - designedClient.height());
    return QRect(left, top, width, height);
}

int Scaled(int designed, double scale) {
    return static_cast<int>(std::lround(designed * scale));
}

QRect Scaled(const QRect& designed, double scale) {
    const int left = Scaled(designed.left(), scale);
    const int top = Scaled(designed.top(), scale);
    // Scale the far edges too, so neighbouring controls keep their gaps.
    return QRect(left, top, Scaled(designed.left() + designed.width(), scale) - left,
                 Scaled(designed.top() + designed.height(), scale) - top);
}

}  // namespace zav::qt
