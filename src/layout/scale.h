// How a layout drawn for one client size fills another: the keys keep their
// shape (one scale for both directions) and the layout is centred in the
// room left over. All sizes are pixels.
#pragma once

namespace osk {

// The smallest scale a window may be dragged to: below it the keys are too
// small to hit and their captions too small to read.
inline constexpr double kMinLayoutScale = 0.4;

struct LayoutFit {
  double scale = 1.0;
  int offsetX = 0;
  int offsetY = 0;
  friend bool operator==(const LayoutFit&, const LayoutFit&) = default;
};

// The fit of a design of designWidth x designHeight into a client area of
// clientWidth x clientHeight. Exactly scale 1 at no offset when the sizes
// are equal, and when either design size is unknown (zero or less). A
// client area of no size (minimised) keeps the layout as it was drawn.
LayoutFit fitLayout(int clientWidth, int clientHeight, int designWidth, int designHeight);

// The smallest client size, one side at a time, that keeps the layout at
// kMinLayoutScale or more.
int minimumClientSide(int designSide);

}  // namespace osk
