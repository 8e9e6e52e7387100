#include "aids/dwell_clicker.h"

#include <algorithm>

namespace osk::aids {
namespace {

bool within(PointerAt a, PointerAt b, int radius) {
  const long long dx = a.x - b.x;
  const long long dy = a.y - b.y;
  return dx * dx + dy * dy <= static_cast<long long>(radius) * radius;
}

}  // namespace

std::optional<KeyId> DwellClicker::settle(Instant now) {
  if (phase_ != Phase::Resting || now < due()) return std::nullopt;
  phase_ = Phase::Spent;
  return key_;
}

void DwellClicker::restFrom(Instant now, PointerAt at) {
  phase_ = Phase::Resting;
  anchor_ = at;
  since_ = now;
  runFor_ = restFor_ && key_ ? restFor_(*key_) : options_.dwellTime;
}

void DwellClicker::leaveKey(Instant now) {
  if (phase_ == Phase::Resting && movedOn_) movedOn_(std::chrono::duration_cast<Millis>(now - since_));
  key_.reset();
  phase_ = Phase::Off;
}

std::optional<KeyId> DwellClicker::moved(Instant now, PointerAt at, std::optional<KeyId> key) {
  const std::optional<KeyId> click = settle(now);
  if (key != key_) {
    leaveKey(now);
    key_ = key;
  }
  if (!key_) return click;
  switch (phase_) {
    case Phase::Off:
      if (mayRest(*key_)) restFrom(now, at);
      break;
    case Phase::Resting:
      if (!within(at, anchor_, options_.restRadius)) restFrom(now, at);
      break;
    case Phase::Spent:
      break;
  }
  return click;
}

std::optional<KeyId> DwellClicker::left(Instant now) {
  const std::optional<KeyId> click = settle(now);
  leaveKey(now);
  return click;
}

std::optional<KeyId> DwellClicker::tick(Instant now) { return settle(now); }

void DwellClicker::clickedOtherwise(KeyId key) {
  if (key_ == key) phase_ = Phase::Spent;
}

void DwellClicker::setPauseKey(std::optional<KeyId> key) {
  pauseKey_ = key;
  if (phase_ == Phase::Resting && !mayRest(*key_)) phase_ = Phase::Off;
}

void DwellClicker::setPaused(bool paused) {
  paused_ = paused;
  if (phase_ == Phase::Resting && !mayRest(*key_)) phase_ = Phase::Off;
}

DwellFace DwellClicker::face(Instant now) const {
  if (phase_ != Phase::Resting) return {};
  const auto ran = std::chrono::duration<double>(now - since_);
  const auto whole = std::chrono::duration<double>(runFor_);
  if (whole.count() <= 0) return {key_, 1.0};
  return {key_, std::clamp(ran / whole, 0.0, 1.0)};
}

std::optional<Millis> DwellClicker::wakeIn(Instant now) const {
  if (phase_ != Phase::Resting) return std::nullopt;
  if (now >= due()) return Millis{1};
  // The next paint step after `now`, counted from the start of the rest so
  // that late ticks do not push the later ones back; the click itself is
  // never later than due.
  const auto step = std::max(options_.paintStep, Millis{1});
  const auto steps = (now - since_) / step + 1;
  const Instant paint = since_ + steps * step;
  return delayUntil(std::min(paint, due()), now);
}

}  // namespace osk::aids
