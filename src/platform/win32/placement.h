// Where the layout's twips land in the window's pixels. Every conversion of a
// control's rectangle, the window's geometry or a font's size goes through
// here, so that a change of scale (a new DPI) is applied in one place.
#pragma once

#include <windows.h>

#include "layout/model.h"

namespace osk::win32 {

class Placement {
 public:
  explicit Placement(int dpi = USER_DEFAULT_SCREEN_DPI) : dpi_(dpi) {}

  int dpi() const { return dpi_; }

  // A control's rectangle in the client area. Edges rather than sizes are
  // rounded, so neighbours stay flush.
  RECT controlRect(const TwipsRect& r) const;
  // The outer window rectangle for the form's geometry, and back.
  RECT windowRect(const Geometry& g) const;
  Geometry geometryOf(const RECT& window) const;
  // The client rectangle, at 0, 0, for a client size in twips.
  RECT clientRect(int widthTwips, int heightTwips) const;
  // The LOGFONT height (negative: the character height) for a font size.
  LONG fontHeight(double points) const;

 private:
  int dpi_;
};

}  // namespace osk::win32
