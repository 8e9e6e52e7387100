#include "host/paint/placement.h"

#include <cmath>

namespace osk::win32 {

namespace {
constexpr double kPointsPerInch = 72.0;
}  // namespace

RECT Placement::controlRect(const TwipsRect& r) const {
  // At a fit of 1 the layout DPI is the DPI itself, exactly: an unscaled
  // window places every control to the pixel as before.
  const double dpi = layoutDpi();
  const int x = fit_.offsetX;
  const int y = fit_.offsetY;
  return RECT{x + twipsToPixels(r.left, dpi), y + twipsToPixels(r.top, dpi),
              x + twipsToPixels(r.left + r.width, dpi), y + twipsToPixels(r.top + r.height, dpi)};
}

SIZE Placement::windowSize(float widthTwips, float heightTwips) const {
  return SIZE{twipsToPixels(widthTwips, dpi_), twipsToPixels(heightTwips, dpi_)};
}

RECT Placement::clientRect(int widthTwips, int heightTwips) const {
  return RECT{0, 0, twipsToPixels(widthTwips, dpi_), twipsToPixels(heightTwips, dpi_)};
}

LONG Placement::fontHeight(double points) const {
  return -static_cast<LONG>(std::lround(points * layoutDpi() / kPointsPerInch));
}

}  // namespace osk::win32
