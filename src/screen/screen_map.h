// Where the desktop's pixels lie in the twips the keyboard keeps its
// windows' places in, on monitors of different DPIs.
//
// Inside a monitor, pixels convert at that monitor's DPI, so a window keeps
// its size in inches there and its left plus its width is its right edge.
// The monitors' origins all convert at one factor, the lowest DPI among
// them: monitors that lie side by side in pixels then lie side by side in
// twips too, never over one another (a gap opens between two of different
// DPIs), so every twips position belongs to at most one monitor and a place
// saved on one monitor reopens there. With a single DPI everywhere this is
// the plain conversion at that DPI, to the bit.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "layout/model.h"

namespace osk {

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct MonitorPixels {
  PixelRect bounds;
  PixelRect work;
  int dpi = 96;
};

class ScreenMap {
 public:
  // `fallbackDpi` converts everything when no monitor is known, and stands
  // in for a monitor's DPI that is not a positive number.
  explicit ScreenMap(const std::vector<MonitorPixels>& monitors = {}, int fallbackDpi = 96);

  // A window's rectangle, converted on the monitor it lies on most (the
  // nearest, when it lies on none).
  Geometry toTwips(const PixelRect& r) const;
  // Converted on the monitor whose twips it overlaps most (the nearest,
  // when it overlaps none).
  PixelRect toPixels(const Geometry& g) const;
  // Each monitor's work area, in the order the monitors were given.
  std::vector<Geometry> workAreas() const;

 private:
  struct Screen {
    int dpi = 96;
    // Twips to add to a position converted at `dpi`: the origin's move
    // from its own DPI to the common one.
    double shiftX = 0;
    double shiftY = 0;
    PixelRect work;
  };
  static Geometry twipsOn(const Screen& s, const PixelRect& r);

  std::vector<Screen> screens_;
  std::vector<Geometry> pixelBounds_;
  std::vector<Geometry> twipsBounds_;
  int fallbackDpi_;
};

// The area a window of geometry `g` belongs to, as the system picks a
// window's monitor: most shared area first, then the shortest distance.
// Areas of no size are passed over; nothing when none is left.
std::optional<std::size_t> areaOf(const Geometry& g, const std::vector<Geometry>& areas);

}  // namespace osk
