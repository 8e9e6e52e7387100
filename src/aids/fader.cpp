#include "aids/fader.h"

namespace osk::aids {

void Fader::setOptions(const FadeOptions& options, Instant now) {
  options_ = options;
  faded_ = false;
  since_ = now;
}

void Fader::setHeld(bool held, Instant now) {
  if (held == held_) return;
  held_ = held;
  faded_ = false;
  since_ = now;
}

void Fader::pointerOver(Instant now) {
  faded_ = false;
  over_ = true;
  since_ = now;
}

void Fader::pointerLeft(Instant now) {
  over_ = false;
  since_ = now;
}

void Fader::tick(Instant now, bool over) {
  if (!options_.on || held_ || faded_) return;
  if (over) {
    over_ = true;
    since_ = now;
    return;
  }
  // A leave nobody reported: the pointer went at some moment since it was
  // last seen, and the wait counts from now, when it is found gone, so that
  // the keyboard never fades sooner than the wait after the pointer left.
  if (over_) {
    over_ = false;
    since_ = now;
    return;
  }
  if (now - since_ >= options_.wait) faded_ = true;
}

std::optional<Millis> Fader::wakeIn(Instant now) const {
  if (!options_.on || held_ || faded_) return std::nullopt;
  if (over_) return kLookAgain;
  return delayUntil(since_ + options_.wait, now);
}

}  // namespace osk::aids
