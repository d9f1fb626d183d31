#pragma once

#include <QRect>
#include <QSize>

namespace zav::qt {

// The window edges a control keeps its distance to when the window is resized: left and right
// together stretch it, right alone moves it with the right edge, and likewise for top and bottom.
struct Anchors {
    bool left = true;
    bool top = true;
    bool right = false;
    bool bottom = false;
};

// Where a control designed at `designed` in a client area of `designedClient` stands in a client
// area of `client`.
QRect AnchoredRect(const QRect& designed, Anchors anchors, const QSize& designedClient,
                   const QSize& client);

// A designed value scaled to the screen, rounded to whole pixels.
int Scaled(int designed, double scale);
QRect Scaled(const QRect& designed, double scale);

}  // namespace zav::qt
