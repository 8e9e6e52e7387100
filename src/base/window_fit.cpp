#include "base/window_fit.h"

#include <algorithm>
#include <limits>

#include "base/settings_keys.h"

namespace osk {
namespace {

bool usable(const Geometry& a) { return a.width > 0 && a.height > 0; }

double overlap(double lo1, double hi1, double lo2, double hi2) {
  return std::max(0.0, std::min(hi1, hi2) - std::max(lo1, lo2));
}

double gap(double lo1, double hi1, double lo2, double hi2) { return std::max({0.0, lo2 - hi1, lo1 - hi2}); }

// The work area the window opens on, as the system picks a window's monitor:
// most shared area first, then the shortest distance.
const Geometry* monitorOf(const Geometry& g, const std::vector<Geometry>& areas) {
  const double gl = g.left;
  const double gr = gl + g.width;
  const double gt = g.top;
  const double gb = gt + g.height;
  const Geometry* best = nullptr;
  double bestShared = 0;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (const Geometry& a : areas) {
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
      best = &a;
      bestShared = shared;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

Fitted fitToWorkArea(const Geometry& g, const std::vector<Geometry>& workAreas) {
  const Geometry* area = monitorOf(g, workAreas);
  if (area == nullptr) return {g, 1};
  if (g.width <= area->width && g.height <= area->height) return {settings::placeOnScreen(g, workAreas), 1};

  const double scale = std::min(double(area->width) / g.width, double(area->height) / g.height);
  Geometry fitted = g;
  // The limiting side takes the work area's own size, so that rounding can
  // never leave it a twip too large; the other follows the proportions.
  if (double(area->width) / g.width <= double(area->height) / g.height) {
    fitted.width = area->width;
    fitted.height = std::min(area->height, static_cast<float>(g.height * scale));
  } else {
    fitted.height = area->height;
    fitted.width = std::min(area->width, static_cast<float>(g.width * scale));
  }
  fitted.left = std::clamp(g.left, area->left, area->left + area->width - fitted.width);
  fitted.top = std::clamp(g.top, area->top, area->top + area->height - fitted.height);
  return {fitted, scale};
}

Geometry keepTopOnScreen(const Geometry& grown, float formerTop, const std::vector<Geometry>& workAreas) {
  const Geometry* area = monitorOf(grown, workAreas);
  if (area == nullptr || grown.top >= area->top) return grown;
  Geometry out = grown;
  out.top = std::max(grown.top, std::min(formerTop, area->top));
  return out;
}

void placeAsStored(Form& form, const SettingsStore& store, const settings::GeometryKeys& keys,
                   const std::vector<Geometry>& workAreas) {
  form.setDesignSize(keys.defaults.width, keys.defaults.height);
  form.setGeometry(fitToWorkArea(settings::readGeometry(store, keys, workAreas), workAreas).geometry);
}

}  // namespace osk
