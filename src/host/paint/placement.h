// Where the layout's twips land in the window's pixels. Every conversion of a
// control's rectangle, the window's geometry or a font's size goes through
// here, so that a change of scale (a new DPI) is applied in one place.
#pragma once

#include <windows.h>

#include "layout/model.h"
#include "layout/scale.h"

namespace osk::win32 {

inline constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(double twips, double dpi) {
  const double px = twips * dpi / kTwipsPerInch;
  return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

class Placement {
 public:
  explicit Placement(int dpi = USER_DEFAULT_SCREEN_DPI, LayoutFit fit = {}) : dpi_(dpi), fit_(fit) {}

  int dpi() const { return dpi_; }
  const LayoutFit& fit() const { return fit_; }

  // A control's rectangle in the client area, scaled and offset by the
  // fit of the layout into the window. Edges rather than sizes are
  // rounded, so neighbours stay flush.
  RECT controlRect(const TwipsRect& r) const;
  // A window size in twips at this DPI, wherever the window lies: the size
  // at which the keys are drawn unscaled. A window's place on the desktop
  // converts through the monitors instead (windowRectOf in dpi.h).
  SIZE windowSize(float widthTwips, float heightTwips) const;
  // The client rectangle, at 0, 0, for a client size in twips.
  RECT clientRect(int widthTwips, int heightTwips) const;
  // The LOGFONT height (negative: the character height) for a font size,
  // scaled with the keys so that a caption fits its key at any size.
  LONG fontHeight(double points) const;

 private:
  // The pixels per inch the layout is drawn at: the DPI times the fit.
  double layoutDpi() const { return dpi_ * fit_.scale; }

  int dpi_;
  LayoutFit fit_;
};

}  // namespace osk::win32
