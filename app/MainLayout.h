#pragma once
// Where every gadget of the main window stands for a given content size, and
// where the canvas stands inside its scroll area. Plain arithmetic, no Qt.

namespace th::app {

struct GadgetRect {
    int x, y, width, height;
    bool operator==(const GadgetRect&) const = default;
};

inline constexpr int kMainContentWidth = 1039;
inline constexpr int kMainContentHeight = 544;
inline constexpr int kToolbarHeight = 32;

// The gadget's place for content width W and height H. Divisions drop the
// fraction, as the layout always has.
GadgetRect mainGadgetRect(int gadget, int W, int H);

// The canvas's x inside a scroll area `viewWidth` wide: centred when the
// canvas of size S is narrower than the area less 15 (room for a scroll bar).
int canvasOffset(int S, int viewWidth);

} // namespace th::app
