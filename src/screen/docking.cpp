#include "screen/docking.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "screen/screen_map.h"
#include "settings/settings_keys.h"

namespace osk {
namespace {

// Edges within this many twips (a pixel or so at any DPI) are the same edge:
// a round trip through pixels may move them that much.
constexpr float kSameEdge = 20.0F;

bool sameEdge(float a, float b) { return std::fabs(a - b) <= kSameEdge; }

}  // namespace

float dockedHeight(const Geometry& window, const std::vector<Geometry>& workAreas) {
  const std::optional<std::size_t> area = areaOf(window, workAreas);
  if (!area) return window.height;
  const float room = workAreas[*area].height;
  return std::clamp(window.height, room / 4, room / 2);
}

Docking::Docking(Form& window, FormHost& host, AppBar& bar, SettingsStore& store)
    : window_(window), host_(host), bar_(bar), store_(store) {}

void Docking::load() {
  if (!settings::tickChosen(
          store_.read(kSettingsSection, settings::kDockBottom, settings::kDockBottomDefault)))
    return;
  // Refused at start, the keyboard opens where it was; the choice stays
  // stored for the next start, since the refusal may be of this one only.
  static_cast<void>(dock(dockedHeight(window_.geometry(), host_.monitorWorkAreas())));
}

bool Docking::choose(bool wanted) {
  if (wanted && !docked_)
    static_cast<void>(dock(dockedHeight(window_.geometry(), host_.monitorWorkAreas())));
  else if (!wanted && docked_)
    undock();
  store(docked_);
  return docked_;
}

void Docking::userMoved() {
  if (!docked_) return;
  const Geometry now = window_.geometry();
  if (now == granted_) return;
  const bool onTheBar = sameEdge(now.top + now.height, granted_.top + granted_.height) &&
                        sameEdge(now.left, granted_.left) && sameEdge(now.width, granted_.width);
  if (onTheBar && dock(now.height)) return;
  undock();
  store(false);
}

void Docking::barsChanged() {
  if (docked_) static_cast<void>(dock(granted_.height));
}

void Docking::close() {
  if (!docked_) return;
  bar_.remove(window_);
  docked_ = false;
}

bool Docking::dock(float height) {
  if (!docked_) earlier_ = window_.geometry();
  const std::optional<Geometry> granted = bar_.dockBottom(window_, height);
  if (!granted) {
    // The system took the bar away with its refusal: the keyboard goes
    // back to where it was before it docked.
    if (docked_) undock();
    return false;
  }
  docked_ = true;
  granted_ = *granted;
  window_.setGeometry(granted_);
  return true;
}

void Docking::undock() {
  bar_.remove(window_);
  docked_ = false;
  window_.setGeometry(earlier_);
}

void Docking::store(bool docked) {
  // A refusal is reported by the store on the debug channel; the keyboard
  // is docked or not all the same, and the next start decides afresh.
  static_cast<void>(store_.write(kSettingsSection, settings::kDockBottom, docked ? "1" : "0"));
}

}  // namespace osk
