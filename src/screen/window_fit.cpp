#include "screen/window_fit.h"

#include <algorithm>
#include <optional>

#include "screen/screen_map.h"
#include "settings/settings_keys.h"

namespace osk {
namespace {

// The work area the window opens on.
const Geometry* monitorOf(const Geometry& g, const std::vector<Geometry>& areas) {
  const std::optional<std::size_t> i = areaOf(g, areas);
  return i ? &areas[*i] : nullptr;
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

Geometry keepRightOnScreen(const Geometry& grown, float formerRight, const std::vector<Geometry>& workAreas) {
  const Geometry* area = monitorOf(grown, workAreas);
  const float areaRight = area == nullptr ? 0 : area->left + area->width;
  if (area == nullptr || grown.left + grown.width <= areaRight) return grown;
  Geometry out = grown;
  const float right = std::max(areaRight, formerRight);
  out.left = std::max(right - grown.width, std::min(grown.left, area->left));
  return out;
}

void placeAsStored(Form& form, const SettingsStore& store, const settings::GeometryKeys& keys,
                   const std::vector<Geometry>& workAreas) {
  form.setDesignSize(keys.defaults.width, keys.defaults.height);
  form.setGeometry(fitToWorkArea(settings::readGeometry(store, keys, workAreas), workAreas).geometry);
}

}  // namespace osk
