#include "screen/screen_map.h"

#include <algorithm>
#include <limits>

namespace osk {
namespace {

constexpr double kTwipsPerInch = 1440;

bool usable(const Geometry& a) { return a.width > 0 && a.height > 0; }

double overlap(double lo1, double hi1, double lo2, double hi2) {
  return std::max(0.0, std::min(hi1, hi2) - std::max(lo1, lo2));
}

double gap(double lo1, double hi1, double lo2, double hi2) { return std::max({0.0, lo2 - hi1, lo1 - hi2}); }

double twipsOf(int pixels, int dpi) { return static_cast<double>(pixels) * kTwipsPerInch / dpi; }

// Halves away from zero, as a window's edges have always been rounded.
int pixelsOf(double twips, int dpi) {
  const double px = twips * dpi / kTwipsPerInch;
  return static_cast<int>(px < 0 ? px - 0.5 : px + 0.5);
}

Geometry asGeometry(const PixelRect& r) {
  return Geometry{static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right - r.left),
                  static_cast<float>(r.bottom - r.top)};
}

}  // namespace

std::optional<std::size_t> areaOf(const Geometry& g, const std::vector<Geometry>& areas) {
  const double gl = g.left;
  const double gr = gl + g.width;
  const double gt = g.top;
  const double gb = gt + g.height;
  std::optional<std::size_t> best;
  double bestShared = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const Geometry& a = areas[i];
    if (!usable(a)) continue;
    const double al = a.left;
    const double ar = al + a.width;
    const double at = a.top;
    const double ab = at + a.height;
    const double shared = overlap(gl, gr, al, ar) * overlap(gt, gb, at, ab);
    const double dx = gap(gl, gr, al, ar);
    const double dy = gap(gt, gb, at, ab);
    const double distance = dx * dx + dy * dy;
    if (shared > bestShared || (bestShared == 0 && shared == 0 && distance < bestDistance)) {
      best = i;
      bestShared = shared;
      bestDistance = distance;
    }
  }
  return best;
}

ScreenMap::ScreenMap(const std::vector<MonitorPixels>& monitors, int fallbackDpi)
    : fallbackDpi_(fallbackDpi > 0 ? fallbackDpi : 96) {
  int common = 0;
  for (const MonitorPixels& m : monitors) {
    const int dpi = m.dpi > 0 ? m.dpi : fallbackDpi_;
    common = common == 0 ? dpi : std::min(common, dpi);
  }
  for (const MonitorPixels& m : monitors) {
    const int dpi = m.dpi > 0 ? m.dpi : fallbackDpi_;
    // Zero, exactly, on a monitor at the common DPI.
    const double shiftX = twipsOf(m.bounds.left, common) - twipsOf(m.bounds.left, dpi);
    const double shiftY = twipsOf(m.bounds.top, common) - twipsOf(m.bounds.top, dpi);
    screens_.push_back(Screen{dpi, shiftX, shiftY, m.work});
    pixelBounds_.push_back(asGeometry(m.bounds));
    twipsBounds_.push_back(twipsOn(screens_.back(), m.bounds));
  }
}

Geometry ScreenMap::twipsOn(const Screen& s, const PixelRect& r) {
  return Geometry{static_cast<float>(twipsOf(r.left, s.dpi) + s.shiftX),
                  static_cast<float>(twipsOf(r.top, s.dpi) + s.shiftY),
                  static_cast<float>(twipsOf(r.right - r.left, s.dpi)),
                  static_cast<float>(twipsOf(r.bottom - r.top, s.dpi))};
}

Geometry ScreenMap::toTwips(const PixelRect& r) const {
  const std::optional<std::size_t> on = areaOf(asGeometry(r), pixelBounds_);
  return twipsOn(on ? screens_[*on] : Screen{fallbackDpi_, 0, 0, {}}, r);
}

PixelRect ScreenMap::toPixels(const Geometry& g) const {
  const std::optional<std::size_t> on = areaOf(g, twipsBounds_);
  const Screen s = on ? screens_[*on] : Screen{fallbackDpi_, 0, 0, {}};
  const int left = pixelsOf(g.left - s.shiftX, s.dpi);
  const int top = pixelsOf(g.top - s.shiftY, s.dpi);
  return PixelRect{left, top, left + pixelsOf(g.width, s.dpi), top + pixelsOf(g.height, s.dpi)};
}

std::vector<Geometry> ScreenMap::workAreas() const {
  std::vector<Geometry> areas;
  areas.reserve(screens_.size());
  for (const Screen& s : screens_) areas.push_back(twipsOn(s, s.work));
  return areas;
}

}  // namespace osk
