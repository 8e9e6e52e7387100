#include "platform/win32/placement.h"

#include <cmath>

#include "platform/win32/dpi.h"

namespace osk::win32 {

namespace {
constexpr double kPointsPerInch = 72.0;
}  // namespace

RECT Placement::controlRect(const TwipsRect& r) const {
  return RECT{twipsToPixels(r.left, dpi_), twipsToPixels(r.top, dpi_), twipsToPixels(r.left + r.width, dpi_),
              twipsToPixels(r.top + r.height, dpi_)};
}

RECT Placement::windowRect(const Geometry& g) const {
  const int x = twipsToPixels(g.left, dpi_);
  const int y = twipsToPixels(g.top, dpi_);
  return RECT{x, y, x + twipsToPixels(g.width, dpi_), y + twipsToPixels(g.height, dpi_)};
}

Geometry Placement::geometryOf(const RECT& window) const {
  Geometry g;
  g.left = static_cast<float>(pixelsToTwips(window.left, dpi_));
  g.top = static_cast<float>(pixelsToTwips(window.top, dpi_));
  g.width = static_cast<float>(pixelsToTwips(window.right - window.left, dpi_));
  g.height = static_cast<float>(pixelsToTwips(window.bottom - window.top, dpi_));
  return g;
}

RECT Placement::clientRect(int widthTwips, int heightTwips) const {
  return RECT{0, 0, twipsToPixels(widthTwips, dpi_), twipsToPixels(heightTwips, dpi_)};
}

LONG Placement::fontHeight(double points) const {
  return -static_cast<LONG>(std::lround(points * dpi_ / kPointsPerInch));
}

}  // namespace osk::win32
